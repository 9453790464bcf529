#!/usr/bin/env python3
"""Writes the sample STR files of the Kavrino Translation Tool.

Run from anywhere: it writes data/Default/Kavr_ENU.str, data/Default/Kavr_User_ENU.str and the
translations in data/Language/ below the repository root. The output depends only on this file,
so running it again reproduces the committed files byte for byte.

The English texts and their translations live in the tables at the end of this file, one item a
line:  NAME | attributes | English | French | German | Russian | Polish  (the user kind has only
English and French). A translation of "=" keeps the English text. Lines starting with "==" open a
section: "== Title | attributes" gives the section's comment line in the default file and the
attributes its items take when their own attribute field is empty.

Attributes: a font letter (A Arial, C Courier New, T Times New Roman, H Tahoma, _ no font name,
which the tool reads as Arial), then b for "Bold" or r for "Regular" (nothing leaves the style
field empty), then the size in points, then optionally w and a width in pixels, or "w-" to leave
the width empty so that the English text's own width counts. A field made only of a width
("w60", "w-") keeps the section's font. Without a w the allowed width is worked out from the
English text's width in its font, with room for longer translations.
"""

import math
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Advance widths of the printable ASCII characters (32 to 126) in 1/2048 em. Arial, Times New Roman
# and Courier New use the widths of their metric-compatible faces. Tahoma has no such face on the
# Linux desktops we test on, where it falls back to a wider sans face; its widths are those of the
# fallback so that the allowed widths hold on either system.
ADVANCES = {
    ("Arial", False): """
        569 569 727 1139 1139 1821 1366 391 682 682 797 1196 569 682 569 569 1139 1139 1139 1139
        1139 1139 1139 1139 1139 1139 569 569 1196 1196 1196 1139 2079 1366 1366 1479 1479 1366
        1251 1593 1479 569 1024 1366 1139 1706 1479 1593 1366 1593 1479 1366 1251 1479 1366 1933
        1366 1366 1251 569 569 569 961 1139 682 1139 1139 1024 1139 1139 569 1139 1139 455 455
        1024 455 1706 1139 1139 1139 1139 682 1024 569 1139 1024 1479 1024 1024 1024 684 532 684
        1196""",
    ("Arial", True): """
        569 682 971 1139 1139 1821 1479 487 682 682 797 1196 569 682 569 569 1139 1139 1139 1139
        1139 1139 1139 1139 1139 1139 682 682 1196 1196 1196 1251 1997 1479 1479 1479 1479 1366
        1251 1593 1479 569 1139 1479 1251 1706 1479 1593 1366 1593 1479 1366 1251 1479 1366 1933
        1366 1366 1251 682 569 682 1196 1139 682 1139 1251 1139 1251 1139 682 1251 1251 569 569
        1139 569 1821 1251 1251 1251 1251 797 1139 682 1251 1139 1593 1139 1139 1024 797 573 797
        1196""",
    ("Times New Roman", False): """
        512 682 836 1024 1024 1706 1593 369 682 682 1024 1155 512 682 512 569 1024 1024 1024 1024
        1024 1024 1024 1024 1024 1024 569 569 1155 1155 1155 909 1886 1479 1366 1366 1479 1251
        1139 1479 1479 682 797 1479 1251 1821 1479 1479 1139 1479 1366 1139 1251 1479 1479 1933
        1479 1479 1251 682 569 682 961 1024 682 909 1024 909 1024 909 682 1024 1024 569 569 1024
        569 1593 1024 1024 1024 1024 682 797 569 1024 1024 1479 1024 1024 909 983 410 983 1108""",
    ("Times New Roman", True): """
        512 682 1137 1024 1024 2048 1706 569 682 682 1024 1167 512 682 512 569 1024 1024 1024 1024
        1024 1024 1024 1024 1024 1024 682 682 1167 1167 1167 1024 1905 1479 1366 1479 1479 1366
        1251 1593 1593 797 1024 1593 1366 1933 1479 1593 1251 1593 1479 1139 1366 1479 1479 2048
        1479 1479 1366 682 569 682 1190 1024 682 1024 1139 909 1139 909 682 1024 1139 569 682 1139
        569 1706 1139 1024 1139 1139 909 797 682 1139 1024 1479 1024 1024 909 807 451 807 1065""",
    ("Tahoma", False): """
        651 821 942 1716 1303 1946 1597 563 799 799 1024 1716 651 739 651 690 1303 1303 1303 1303
        1303 1303 1303 1303 1303 1303 690 690 1716 1716 1716 1087 2048 1401 1405 1430 1577 1294
        1178 1587 1540 604 604 1343 1141 1767 1532 1612 1235 1612 1423 1300 1251 1499 1401 2025
        1403 1251 1403 799 690 799 1716 1024 1024 1255 1300 1126 1300 1260 721 1300 1298 569 569
        1186 569 1995 1298 1253 1300 1300 842 1067 803 1298 1212 1675 1212 1212 1075 1303 690 1303
        1716""",
    ("Tahoma", True): """
        713 934 1067 1716 1425 2052 1786 627 936 936 1071 1716 778 850 778 748 1425 1425 1425 1425
        1425 1425 1425 1425 1425 1425 819 819 1716 1716 1716 1188 2048 1585 1561 1503 1700 1399
        1399 1681 1714 762 762 1587 1305 2038 1714 1741 1501 1741 1577 1475 1397 1663 1585 2259
        1579 1483 1485 936 748 936 1716 1024 1024 1382 1466 1214 1466 1389 891 1466 1458 702 702
        1362 702 2134 1458 1407 1466 1466 1010 1219 979 1458 1335 1892 1321 1335 1192 1458 748 1458
        1716""",
}
COURIER_ADVANCE = 1229
UNITS_PER_EM = 2048

FONT_LETTERS = {"A": "Arial", "C": "Courier New", "T": "Times New Roman", "H": "Tahoma", "_": ""}
STYLE_LETTERS = {"b": "Bold", "r": "Regular", "": ""}

WHITE, YELLOW, AQUA, LIME, FUCHSIA = 16777215, 65535, 16776960, 65280, 16711935

MAIN_HEADER = ('#include "KavLang.Inc"', "//Kavrino Language ")
USER_HEADER = ('#include "UserLanguage.inc"', "//Pelmor Language ")


def advance_table(font, bold):
    if font == "Courier New":
        return None
    return [int(v) for v in ADVANCES[(font or "Arial", bold)].split()]


def text_width(text, font, bold, size):
    """Width in pixels on a 96 dpi screen, where a font of S points is round(S * 4 / 3) pixels high."""
    em = round(size * 96 / 72)
    table = advance_table(font, bold)
    units = 0
    for ch in text:
        code = ord(ch)
        if not 32 <= code <= 126:
            sys.exit("English texts must be printable ASCII: %r" % text)
        units += COURIER_ADVANCE if table is None else table[code - 32]
    return units * em / UNITS_PER_EM


def allowed_width(text, font, bold, size):
    """Room the product leaves for a text: short labels need the most slack in other languages."""
    width = text_width(text, font, bold, size)
    if len(text) <= 12:
        room = max(width * 2.0 + 8, width + 50)
    elif len(text) <= 30:
        room = width * 1.7 + 8
    else:
        room = width * 1.4 + 8
    return 5 * math.ceil(room / 5)


ATTR_RE = re.compile(r"^(?:(?P<font>[ACTH_])(?P<style>[br]?)(?P<size>\d*))?(?:w(?P<width>\d+|-))?$")


def parse_attributes(field, default):
    match = ATTR_RE.match(field)
    if not match:
        sys.exit("Bad attribute field: %r" % field)
    if match.group("font") is None:
        attrs = dict(default)
    else:
        attrs = {
            "font": FONT_LETTERS[match.group("font")],
            "style": STYLE_LETTERS[match.group("style")],
            "size": match.group("size"),
        }
    attrs["width"] = match.group("width")
    return attrs


def parse_table(table, languages):
    """Returns the items of one kind as a list of dicts, with the section titles in "section"."""
    items = []
    names = set()
    section = None
    default = None
    for raw in table.strip("\n").split("\n"):
        line = raw.strip()
        if not line:
            continue
        if line.startswith("=="):
            title, attr_field = [p.strip() for p in line[2:].split("|")]
            default = parse_attributes(attr_field, None)
            section = title
            continue
        fields = [p.strip() for p in line.split("|")]
        if len(fields) != 3 + len(languages):
            sys.exit("Wrong number of fields in: %s" % line)
        name, attr_field, english = fields[:3]
        if name in names or not re.fullmatch(r"[A-Z][A-Z0-9_]*", name):
            sys.exit("Duplicate or malformed constant name: %s" % name)
        names.add(name)
        attrs = parse_attributes(attr_field, default) if attr_field else dict(default, width=None)
        translations = {}
        for lang, text in zip(languages, fields[3:]):
            translations[lang] = english if text == "=" else text
        items.append({
            "name": name, "english": english, "attrs": attrs, "tr": translations,
            "section": section,
        })
        section = None
    return items


def check_text(text, where):
    if '"' in text or "\r" in text or "\n" in text or not text.strip():
        sys.exit("Text unusable in an STR file (%s): %r" % (where, text))


def name_field(name):
    field = "Txt_" + name
    if len(field) > 70:
        sys.exit("Constant name too long for the name field: %s" % name)
    return field.ljust(70)


def width_field(item):
    attrs = item["attrs"]
    if attrs["width"] == "-":
        return ""
    if attrs["width"]:
        return attrs["width"]
    size = int(attrs["size"] or 8)
    return str(allowed_width(item["english"], attrs["font"], attrs["style"] == "Bold", size))


def default_lines(items, header, file_name):
    lines = [header[0], "", header[1] + file_name, ""]
    for item in items:
        check_text(item["english"], item["name"])
        if item["section"]:
            if len(lines) > 4:
                lines.append("")
            if "Txt_" in item["section"]:
                sys.exit("A comment line would read as an item: %s" % item["section"])
            lines.append("// " + item["section"])
        attrs = item["attrs"]
        braces = "{%s} {%s} {%s} {%s}" % (width_field(item), attrs["font"], attrs["style"],
                                           attrs["size"])
        lines.append('%s , "%s"  %s' % (name_field(item["name"]), item["english"], braces))
    return lines


def translated_lines(items, header, file_name, lang, untranslated, marks):
    """The layout the tool itself writes: 4 header lines, then exactly one line per item."""
    lines = [header[0], "", header[1] + file_name, ""]
    known = {item["name"] for item in items}
    for name in list(untranslated) + list(marks):
        if name not in known:
            sys.exit("%s names an unknown item: %s" % (file_name, name))
    for item in items:
        text = item["english"] if item["name"] in untranslated else item["tr"][lang]
        check_text(text, "%s %s" % (file_name, item["name"]))
        colour = marks.get(item["name"], WHITE)
        lines.append('%s , "%s"  {%d}' % (name_field(item["name"]), text, colour))
    return lines


def write_file(relative, lines, codec):
    path = os.path.join(ROOT, "data", relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = "".join(line + "\r\n" for line in lines).encode(codec, errors="strict")
    with open(path, "wb") as out:
        out.write(data)
    print("%-28s %5d lines  %s" % (relative, len(lines), codec))


def main():
    main_items = parse_table(MAIN_TABLE, ["FRA", "DEU", "RUS", "PLK"])
    user_items = parse_table(USER_TABLE, ["FRA"])
    write_file("Default/Kavr_ENU.str", default_lines(main_items, MAIN_HEADER, "Kavr_ENU.str"),
               "cp1252")
    write_file("Default/Kavr_User_ENU.str",
               default_lines(user_items, USER_HEADER, "Kavr_User_ENU.str"), "cp1252")
    for file_name, items, header, lang, codec in TRANSLATIONS:
        lines = translated_lines(items(main_items, user_items), header, file_name, lang,
                                 UNTRANSLATED.get(file_name, ()), MARKS.get(file_name, {}))
        write_file("Language/" + file_name, lines, codec)


TRANSLATIONS = [
    ("Kavr_FRA.str", lambda m, u: m, MAIN_HEADER, "FRA", "cp1252"),
    ("Kavr_DEU.str", lambda m, u: m, MAIN_HEADER, "DEU", "cp1252"),
    ("Kavr_RUS.str", lambda m, u: m, MAIN_HEADER, "RUS", "cp1251"),
    ("Kavr_PLK.str", lambda m, u: m, MAIN_HEADER, "PLK", "cp1250"),
    ("Kavr_User_FRA.str", lambda m, u: u, USER_HEADER, "FRA", "cp1252"),
]

# Items a translator has not reached yet: the file keeps the English text, which the tool shows
# in yellow.
UNTRANSLATED = {
    "Kavr_FRA.str": ["HINT_OFFLINE", "LOG_EXPORT_LOG"],
    "Kavr_DEU.str": ["ABOUT_WARNING", "LOG_CLEAR_CONFIRM", "REPORT_NO_DATA"],
    "Kavr_RUS.str": ["MENU_TOOLS_REINDEX", "MSG_REINDEX", "LOG_RENAMED", "LOG_PERMISSIONS",
                     "LOG_SIGNED_IN", "REPORT_CONFIDENTIAL", "HINT_SHARE"],
    "Kavr_PLK.str": ["MSG_BACKUP_FAILED", "MSG_TEMPLATE_IN_USE", "OPT_IMPORT_SCANNER",
                     "ABOUT_SYSTEM_INFO"],
    "Kavr_User_FRA.str": ["MSG_SIGNATURE_MISSING", "NOTIFY_TRAY_UNREAD"],
}

# Colour marks as translators leave them: yellow to check again, aqua for a question to the
# author, lime for an approved wording, fuchsia for a text that does not fit.
MARKS = {
    "Kavr_FRA.str": {"MENU_DOCUMENT_CHECK_IN": YELLOW, "HINT_CHECK_IN": YELLOW,
                     "MENU_FILE_SIGN_OUT": FUCHSIA, "LBL_DOC_OWNER": FUCHSIA,
                     "MENU_TOOLS_WORKFLOWS": AQUA, "MSG_UNDO_CHECK_OUT": AQUA,
                     "DLG_PROPERTIES_TITLE": LIME, "ABOUT_SUBTITLE": LIME, "BTN_UPLOAD": YELLOW},
    "Kavr_DEU.str": {"MENU_TOOLS_WORKFLOWS": YELLOW, "STATUS_CAPS": AQUA,
                     "MSG_CONNECTION_LOST": FUCHSIA, "MENU_DOCUMENT_APPROVE": LIME,
                     "RIGHT_APPROVE": LIME},
    "Kavr_RUS.str": {"MENU_DOCUMENT_CHECK_OUT": YELLOW, "MENU_DOCUMENT_CHECK_IN": YELLOW,
                     "LOG_OPENED": AQUA, "LOG_CHECKED_OUT": AQUA, "MSG_IMPORT_SKIPPED": LIME,
                     "MENU_FILE_PRINT_PREVIEW": FUCHSIA},
    "Kavr_PLK.str": {"MENU_DOCUMENT_CHECK_OUT": AQUA, "LBL_CACHE_SIZE": FUCHSIA,
                     "BTN_RESET": YELLOW, "MENU_WINDOW_TILE": LIME},
    "Kavr_User_FRA.str": {"TAB_INBOX": FUCHSIA, "COL_DUE": YELLOW, "CHK_SYNC_WIFI_ONLY": AQUA,
                          "BTN_SIGN": LIME},
}


MAIN_TABLE = r"""
== Main menu | A8
MENU_FILE |  | File | Fichier | Datei | Файл | Plik
MENU_FILE_NEW_PROJECT | | New Project... | Nouveau projet... | Neues Projekt... | Новый проект... | Nowy projekt...
MENU_FILE_NEW_DOCUMENT | | New Document... | Nouveau document... | Neues Dokument... | Новый документ... | Nowy dokument...
MENU_FILE_OPEN_PROJECT | | Open Project... | Ouvrir un projet... | Projekt öffnen... | Открыть проект... | Otwórz projekt...
MENU_FILE_OPEN_RECENT | | Open Recent | Ouvrir un fichier récent | Zuletzt verwendet | Недавние проекты | Otwórz ostatnie
MENU_FILE_CLOSE_PROJECT | | Close Project | Fermer le projet | Projekt schließen | Закрыть проект | Zamknij projekt
MENU_FILE_SAVE | | Save | Enregistrer | Speichern | Сохранить | Zapisz
MENU_FILE_SAVE_AS | | Save As... | Enregistrer sous... | Speichern unter... | Сохранить как... | Zapisz jako...
MENU_FILE_SAVE_ALL | | Save All | Tout enregistrer | Alle speichern | Сохранить все | Zapisz wszystko
MENU_FILE_IMPORT | | Import Documents... | Importer des documents... | Dokumente importieren... | Импорт документов... | Importuj dokumenty...
MENU_FILE_EXPORT | | Export Project... | Exporter le projet... | Projekt exportieren... | Экспорт проекта... | Eksportuj projekt...
MENU_FILE_PAGE_SETUP | | Page Setup... | Mise en page... | Seite einrichten... | Параметры страницы... | Ustawienia strony...
MENU_FILE_PRINT_PREVIEW | | Print Preview | Aperçu avant impression | Druckvorschau | Предварительный просмотр | Podgląd wydruku
MENU_FILE_PRINT | | Print... | Imprimer... | Drucken... | Печать... | Drukuj...
MENU_FILE_SIGN_OUT | w60 | Sign Out | Fermer la session en cours | Abmelden | Выйти | Wyloguj
MENU_FILE_EXIT | | Exit | Quitter | Beenden | Выход | Zakończ
MENU_EDIT |  | Edit | Édition | Bearbeiten | Правка | Edycja
MENU_EDIT_UNDO | | Undo | Annuler | Rückgängig | Отменить | Cofnij
MENU_EDIT_REDO | | Redo | Rétablir | Wiederholen | Повторить | Ponów
MENU_EDIT_CUT | w75 | Cut | Couper | Ausschneiden | Вырезать | Wytnij
MENU_EDIT_COPY | | Copy | Copier | Kopieren | Копировать | Kopiuj
MENU_EDIT_PASTE | | Paste | Coller | Einfügen | Вставить | Wklej
MENU_EDIT_DELETE | | Delete | Supprimer | Löschen | Удалить | Usuń
MENU_EDIT_SELECT_ALL | | Select All | Tout sélectionner | Alles auswählen | Выделить все | Zaznacz wszystko
MENU_EDIT_FIND | | Find... | Rechercher... | Suchen... | Найти... | Znajdź...
MENU_EDIT_FIND_NEXT | | Find Next | Suivant | Weitersuchen | Найти далее | Znajdź następny
MENU_EDIT_REPLACE | | Replace... | Remplacer... | Ersetzen... | Заменить... | Zamień...
MENU_EDIT_GO_TO | | Go To Document... | Atteindre le document... | Gehe zu Dokument... | Перейти к документу... | Przejdź do dokumentu...
MENU_VIEW | | View | Affichage | Ansicht | Вид | Widok
MENU_VIEW_TOOLBAR | | Toolbar | Barre d'outils | Symbolleiste | Панель инструментов | Pasek narzędzi
MENU_VIEW_STATUS_BAR | | Status Bar | Barre d'état | Statusleiste | Строка состояния | Pasek stanu
MENU_VIEW_PROJECT_TREE | | Project Tree | Arborescence du projet | Projektbaum | Дерево проекта | Drzewo projektu
MENU_VIEW_PREVIEW_PANE | | Preview Pane | Volet de visualisation | Vorschaufenster | Область просмотра | Panel podglądu
MENU_VIEW_DETAILS | | Details | Détails | Details | Таблица | Szczegóły
MENU_VIEW_THUMBNAILS | | Thumbnails | Miniatures | Miniaturansicht | Эскизы | Miniatury
MENU_VIEW_REFRESH | | Refresh | Actualiser | Aktualisieren | Обновить | Odśwież
MENU_VIEW_ZOOM_IN | | Zoom In | Zoom avant | Vergrößern | Увеличить | Powiększ
MENU_VIEW_ZOOM_OUT | | Zoom Out | Zoom arrière | Verkleinern | Уменьшить | Pomniejsz
MENU_PROJECT | | Project | Projet | Projekt | Проект | Projekt
MENU_PROJECT_PROPERTIES | | Project Properties... | Propriétés du projet... | Projekteigenschaften... | Свойства проекта... | Właściwości projektu...
MENU_PROJECT_MEMBERS | | Members and Roles... | Membres et rôles... | Mitglieder und Rollen... | Участники и роли... | Członkowie i role...
MENU_PROJECT_MILESTONES | | Milestones... | Jalons... | Meilensteine... | Контрольные точки... | Kamienie milowe...
MENU_PROJECT_ARCHIVE | | Archive Project | Archiver le projet | Projekt archivieren | Архивировать проект | Archiwizuj projekt
MENU_DOCUMENT | | Document | Document | Dokument | Документ | Dokument
MENU_DOCUMENT_CHECK_OUT |  | Check Out | Extraire | Auschecken | Извлечь | Pobierz do edycji
MENU_DOCUMENT_CHECK_IN |  | Check In... | Archiver... | Einchecken... | Вернуть... | Zwróć dokument...
MENU_DOCUMENT_UNDO_CHECK_OUT |  | Undo Check Out | Annuler l'extraction | Auschecken rückgängig | Отменить извлечение | Cofnij pobranie
MENU_DOCUMENT_VERSIONS | | Version History... | Historique des versions... | Versionsverlauf... | Журнал версий... | Historia wersji...
MENU_DOCUMENT_COMPARE | | Compare Versions... | Comparer les versions... | Versionen vergleichen... | Сравнить версии... | Porównaj wersje...
MENU_DOCUMENT_LOCK |  | Lock | Verrouiller | Sperren | Блокировать | Zablokuj
MENU_DOCUMENT_UNLOCK |  | Unlock | Déverrouiller | Entsperren | Разблокировать | Odblokuj
MENU_DOCUMENT_SEND_REVIEW | | Send for Review... | Envoyer pour révision... | Zur Prüfung senden... | Отправить на проверку... | Wyślij do recenzji...
MENU_DOCUMENT_APPROVE | | Approve | Approuver | Freigeben | Утвердить | Zatwierdź
MENU_DOCUMENT_REJECT | | Reject... | Rejeter... | Ablehnen... | Отклонить... | Odrzuć...
MENU_DOCUMENT_PROPERTIES | | Document Properties... | Propriétés du document... | Dokumenteigenschaften... | Свойства документа... | Właściwości dokumentu...
MENU_TOOLS | | Tools | Outils | Extras | Сервис | Narzędzia
MENU_TOOLS_OPTIONS | | Options... | Options... | Optionen... | Параметры... | Opcje...
MENU_TOOLS_TEMPLATES | | Document Templates... | Modèles de documents... | Dokumentvorlagen... | Шаблоны документов... | Szablony dokumentów...
MENU_TOOLS_WORKFLOWS |  | Workflows... | Circuits de validation... | Workflows... | Согласование... | Obiegi dokumentów...
MENU_TOOLS_REINDEX | | Rebuild Search Index | Reconstruire l'index de recherche | Suchindex neu aufbauen | Перестроить поисковый индекс | Odbuduj indeks wyszukiwania
MENU_TOOLS_BACKUP | | Back Up Database... | Sauvegarder la base... | Datenbank sichern... | Резервная копия базы... | Kopia zapasowa bazy...
MENU_WINDOW | | Window | Fenêtre | Fenster | Окно | Okno
MENU_WINDOW_CASCADE | | Cascade | Cascade | Überlappend | Каскадом | Kaskadowo
MENU_WINDOW_TILE | w80 | Tile | Mosaïque | Nebeneinander | Мозаикой | Sąsiadująco
MENU_WINDOW_CLOSE_ALL | | Close All | Tout fermer | Alle schließen | Закрыть все | Zamknij wszystkie
MENU_HELP | | Help | Aide | Hilfe | Справка | Pomoc
MENU_HELP_CONTENTS | | Help Contents | Sommaire de l'aide | Hilfethemen | Содержание справки | Spis treści pomocy
MENU_HELP_SHORTCUTS | | Keyboard Shortcuts | Raccourcis clavier | Tastenkombinationen | Сочетания клавиш | Skróty klawiaturowe
MENU_HELP_CHECK_UPDATES | | Check for Updates... | Rechercher des mises à jour... | Nach Updates suchen... | Проверить обновления... | Sprawdź aktualizacje...
MENU_HELP_ABOUT | | About Kavrino... | À propos de Kavrino... | Über Kavrino... | О программе Kavrino... | O programie Kavrino...

== Toolbar tooltips | A8
HINT_NEW_DOCUMENT | | Create a new document | Créer un nouveau document | Neues Dokument erstellen | Создать новый документ | Utwórz nowy dokument
HINT_OPEN_PROJECT | | Open an existing project | Ouvrir un projet existant | Vorhandenes Projekt öffnen | Открыть существующий проект | Otwórz istniejący projekt
HINT_SAVE | | Save the active document | Enregistrer le document actif | Aktives Dokument speichern | Сохранить активный документ | Zapisz aktywny dokument
HINT_PRINT | | Print the active document | Imprimer le document actif | Aktives Dokument drucken | Печать активного документа | Drukuj aktywny dokument
HINT_CUT |  | Cut the selection to the clipboard | Couper la sélection vers le presse-papiers | Auswahl in die Zwischenablage verschieben | Вырезать выделенное в буфер обмена | Wytnij zaznaczenie do schowka
HINT_COPY | | Copy the selection to the clipboard | Copier la sélection dans le presse-papiers | Auswahl in die Zwischenablage kopieren | Копировать выделенное в буфер обмена | Kopiuj zaznaczenie do schowka
HINT_PASTE | | Paste from the clipboard | Coller depuis le presse-papiers | Aus der Zwischenablage einfügen | Вставить из буфера обмена | Wklej ze schowka
HINT_UNDO | | Undo the last action | Annuler la dernière action | Letzte Aktion rückgängig machen | Отменить последнее действие | Cofnij ostatnią czynność
HINT_FIND | H8 | Search documents by name or content | Rechercher des documents par nom ou contenu | Dokumente nach Name oder Inhalt suchen | Поиск документов по имени или содержимому | Szukaj dokumentów według nazwy lub treści
HINT_CHECK_OUT | | Check out the document for editing | Extraire le document pour le modifier | Dokument zur Bearbeitung auschecken | Взять документ на редактирование | Pobierz dokument do edycji
HINT_CHECK_IN | | Check in your changes as a new version | Archiver vos modifications dans une nouvelle version | Änderungen als neue Version einchecken | Сохранить изменения как новую версию | Zapisz zmiany jako nową wersję
HINT_LOCK | | Lock the document against changes | Verrouiller le document contre les modifications | Dokument gegen Änderungen sperren | Защитить документ от изменений | Zablokuj dokument przed zmianami
HINT_REVIEW | | Send the document to reviewers | Envoyer le document aux relecteurs | Dokument an Prüfer senden | Отправить документ рецензентам | Wyślij dokument do recenzentów
HINT_HISTORY | | Show the version history | Afficher l'historique des versions | Versionsverlauf anzeigen | Показать журнал версий | Pokaż historię wersji
HINT_PREVIEW | | Show or hide the preview pane | Afficher ou masquer le volet de visualisation | Vorschaufenster ein- oder ausblenden | Показать или скрыть область просмотра | Pokaż lub ukryj panel podglądu
HINT_TREE | | Show or hide the project tree | Afficher ou masquer l'arborescence | Projektbaum ein- oder ausblenden | Показать или скрыть дерево проекта | Pokaż lub ukryj drzewo projektu
HINT_REFRESH | | Reload the list from the server | Recharger la liste depuis le serveur | Liste vom Server neu laden | Перезагрузить список с сервера | Wczytaj listę ponownie z serwera
HINT_ZOOM | H8 | Change the zoom factor | Modifier le facteur de zoom | Zoomfaktor ändern | Изменить масштаб | Zmień powiększenie
HINT_HELP | | Open the help for this window | Ouvrir l'aide de cette fenêtre | Hilfe zu diesem Fenster öffnen | Открыть справку для этого окна | Otwórz pomoc dla tego okna
HINT_FAVOURITE | H8 | Add the document to your favourites | Ajouter le document à vos favoris | Dokument zu den Favoriten hinzufügen | Добавить документ в избранное | Dodaj dokument do ulubionych
HINT_SHARE | H8 | Share a link to this document | Envoyer un lien vers ce document | Link zu diesem Dokument teilen | Поделиться ссылкой на документ | Udostępnij link do tego dokumentu
HINT_ATTACH | Hb8 | Attach files to the document | Joindre des fichiers au document | Dateien an das Dokument anhängen | Прикрепить файлы к документу | Dołącz pliki do dokumentu
HINT_FILTER | | Filter the list | Filtrer la liste | Liste filtern | Фильтровать список | Filtruj listę
HINT_CLEAR_FILTER | | Clear the filter | Effacer le filtre | Filter löschen | Сбросить фильтр | Wyczyść filtr
HINT_SORT | | Sort the list by this column | Trier la liste selon cette colonne | Liste nach dieser Spalte sortieren | Сортировать список по этому столбцу | Sortuj listę według tej kolumny
HINT_NEXT_DOCUMENT | | Go to the next document | Aller au document suivant | Zum nächsten Dokument | Перейти к следующему документу | Przejdź do następnego dokumentu
HINT_PREV_DOCUMENT | | Go to the previous document | Aller au document précédent | Zum vorherigen Dokument | Перейти к предыдущему документу | Przejdź do poprzedniego dokumentu
HINT_OFFLINE | H7 | Work offline with local copies | Travailler hors connexion avec des copies locales | Offline mit lokalen Kopien arbeiten | Работать автономно с локальными копиями | Pracuj offline na kopiach lokalnych

== Buttons | A8
BTN_OK | w- | OK | OK | OK | OK | OK
BTN_CANCEL | | Cancel | Annuler | Abbrechen | Отмена | Anuluj
BTN_APPLY | | Apply | Appliquer | Übernehmen | Применить | Zastosuj
BTN_CLOSE | | Close | Fermer | Schließen | Закрыть | Zamknij
BTN_HELP | | Help | Aide | Hilfe | Справка | Pomoc
BTN_YES | | Yes | Oui | Ja | Да | Tak
BTN_NO | | No | Non | Nein | Нет | Nie
BTN_YES_TO_ALL | | Yes to All | Oui pour tout | Ja, alle | Да для всех | Tak dla wszystkich
BTN_RETRY | | Retry | Réessayer | Wiederholen | Повторить | Ponów
BTN_IGNORE | | Ignore | Ignorer | Ignorieren | Пропустить | Ignoruj
BTN_BROWSE | | Browse... | Parcourir... | Durchsuchen... | Обзор... | Przeglądaj...
BTN_ADD | | Add | Ajouter | Hinzufügen | Добавить | Dodaj
BTN_ADD_MORE | | Add... | Ajouter... | Hinzufügen... | Добавить... | Dodaj...
BTN_REMOVE | | Remove | Retirer | Entfernen | Удалить | Usuń
BTN_EDIT | | Edit... | Modifier... | Bearbeiten... | Изменить... | Edytuj...
BTN_RENAME | | Rename | Renommer | Umbenennen | Переименовать | Zmień nazwę
BTN_BACK | | < Back | < Précédent | < Zurück | < Назад | < Wstecz
BTN_NEXT | | Next > | Suivant > | Weiter > | Далее > | Dalej >
BTN_FINISH | | Finish | Terminer | Fertig stellen | Готово | Zakończ
BTN_RESET | | Reset | Réinitialiser | Zurücksetzen | Сбросить | Resetuj
BTN_DEFAULTS | | Restore Defaults | Rétablir les valeurs par défaut | Standard wiederherstellen | По умолчанию | Przywróć domyślne
BTN_MOVE_UP | | Move Up | Monter | Nach oben | Вверх | W górę
BTN_MOVE_DOWN | | Move Down | Descendre | Nach unten | Вниз | W dół
BTN_SEARCH | Ab8 | Search | Rechercher | Suchen | Найти | Szukaj
BTN_STOP | Ab8 | Stop | Arrêter | Anhalten | Стоп | Zatrzymaj
BTN_DETAILS | | Details >> | Détails >> | Details >> | Подробно >> | Szczegóły >>
BTN_SEND | Ab8 | Send | Envoyer | Senden | Отправить | Wyślij
BTN_UPLOAD | | Upload | Téléverser | Hochladen | Загрузить | Prześlij
BTN_DOWNLOAD | | Download | Télécharger | Herunterladen | Скачать | Pobierz
BTN_SELECT_ALL | | Select All | Tout sélectionner | Alle auswählen | Выбрать все | Zaznacz wszystko
BTN_CLEAR | | Clear | Effacer | Leeren | Очистить | Wyczyść
BTN_PREVIEW | | Preview | Aperçu | Vorschau | Просмотр | Podgląd

== New project dialog | A8
DLG_NEW_PROJECT_TITLE | Ab10 | New Project | Nouveau projet | Neues Projekt | Новый проект | Nowy projekt
LBL_PROJECT_NAME | | Project name: | Nom du projet : | Projektname: | Имя проекта: | Nazwa projektu:
LBL_PROJECT_CODE | | Project code: | Code du projet : | Projektkennung: | Код проекта: | Kod projektu:
LBL_PROJECT_CLIENT | | Client: | Client : | Kunde: | Заказчик: | Klient:
LBL_PROJECT_MANAGER | | Project manager: | Chef de projet : | Projektleiter: | Руководитель проекта: | Kierownik projektu:
LBL_PROJECT_START | | Start date: | Date de début : | Beginn: | Дата начала: | Data rozpoczęcia:
LBL_PROJECT_END | | End date: | Date de fin : | Ende: | Дата окончания: | Data zakończenia:
LBL_PROJECT_TEMPLATE | | Based on template: | Basé sur le modèle : | Basierend auf Vorlage: | На основе шаблона: | Na podstawie szablonu:
LBL_PROJECT_FOLDER | | Storage folder: | Dossier de stockage : | Speicherordner: | Папка хранения: | Folder przechowywania:
LBL_PROJECT_DESCRIPTION | | Description: | Description : | Beschreibung: | Описание: | Opis:
CHK_PROJECT_PRIVATE | | Visible to project members only | Visible uniquement par les membres du projet | Nur für Projektmitglieder sichtbar | Видим только участникам проекта | Widoczny tylko dla członków projektu
CHK_PROJECT_NUMBERING | | Number documents automatically | Numéroter les documents automatiquement | Dokumente automatisch nummerieren | Нумеровать документы автоматически | Numeruj dokumenty automatycznie
LBL_NUMBER_FORMAT | C9 | Number format: | Format de numéro : | Nummernformat: | Формат номера: | Format numeru:
LBL_NUMBER_EXAMPLE | C9 | Example: PRJ-2024-0001 | Exemple : PRJ-2024-0001 | Beispiel: PRJ-2024-0001 | Пример: PRJ-2024-0001 | Przykład: PRJ-2024-0001

== Document properties dialog | A8
DLG_PROPERTIES_TITLE | Ab10 | Document Properties | Propriétés du document | Dokumenteigenschaften | Свойства документа | Właściwości dokumentu
TAB_GENERAL | | General | Général | Allgemein | Общие | Ogólne
TAB_VERSIONS | | Versions | Versions | Versionen | Версии | Wersje
TAB_PERMISSIONS | | Permissions | Autorisations | Berechtigungen | Права доступа | Uprawnienia
TAB_KEYWORDS | | Keywords | Mots-clés | Schlagwörter | Ключевые слова | Słowa kluczowe
TAB_RELATED | | Related Documents | Documents liés | Verknüpfte Dokumente | Связанные документы | Powiązane dokumenty
LBL_DOC_TITLE | | Title: | Titre : | Titel: | Заголовок: | Tytuł:
LBL_DOC_NUMBER | | Document number: | Numéro du document : | Dokumentnummer: | Номер документа: | Numer dokumentu:
LBL_DOC_TYPE | | Document type: | Type de document : | Dokumenttyp: | Тип документа: | Typ dokumentu:
LBL_DOC_AUTHOR | | Author: | Auteur : | Autor: | Автор: | Autor:
LBL_DOC_OWNER | w55 | Owner: | Propriétaire du document : | Besitzer: | Владелец: | Właściciel:
LBL_DOC_CREATED | | Created: | Créé le : | Erstellt: | Создан: | Utworzono:
LBL_DOC_MODIFIED | | Modified: | Modifié le : | Geändert: | Изменен: | Zmodyfikowano:
LBL_DOC_SIZE | | Size: | Taille : | Größe: | Размер: | Rozmiar:
LBL_DOC_STATUS | | Status: | Statut : | Status: | Состояние: | Stan:
LBL_DOC_LOCATION | | Location: | Emplacement : | Speicherort: | Расположение: | Lokalizacja:
LBL_DOC_CHECKED_OUT_BY | | Checked out by: | Extrait par : | Ausgecheckt von: | Редактирует: | Pobrany przez:
LBL_DOC_VERSION | | Current version: | Version actuelle : | Aktuelle Version: | Текущая версия: | Bieżąca wersja:
LBL_DOC_CONFIDENTIAL | Ab8 | Confidentiality: | Confidentialité : | Vertraulichkeit: | Конфиденциальность: | Poufność:
OPT_CONF_PUBLIC | | Public | Public | Öffentlich | Открытый | Publiczny
OPT_CONF_INTERNAL | | Internal | Interne | Intern | Внутренний | Wewnętrzny
OPT_CONF_RESTRICTED | | Restricted | Restreint | Eingeschränkt | Ограниченный | Ograniczony
OPT_CONF_SECRET | | Secret | Secret | Geheim | Секретный | Tajny
COL_VERSION | | Version | Version | Version | Версия | Wersja
COL_DATE | | Date | Date | Datum | Дата | Data
COL_USER | | User | Utilisateur | Benutzer | Пользователь | Użytkownik
COL_COMMENT | | Comment | Commentaire | Kommentar | Комментарий | Komentarz
COL_DUE_DATE | w45 | Due date | Date d'échéance prévue | Fällig am | Срок | Termin
COL_FILE_NAME | | File name | Nom du fichier | Dateiname | Имя файла | Nazwa pliku
COL_TYPE | | Type | Type | Typ | Тип | Typ
COL_SIZE | | Size | Taille | Größe | Размер | Rozmiar
COL_MODIFIED | | Modified | Modifié | Geändert | Изменен | Zmodyfikowano
COL_STATE | | State | État | Zustand | Состояние | Stan

== Permissions dialog | _8
DLG_PERMISSIONS_TITLE | Ab10 | Permissions for %s | Autorisations pour %s | Berechtigungen für %s | Права доступа к %s | Uprawnienia do %s
LBL_USERS_GROUPS | | Users and groups: | Utilisateurs et groupes : | Benutzer und Gruppen: | Пользователи и группы: | Użytkownicy i grupy:
LBL_RIGHTS | | Rights: | Droits : | Rechte: | Права: | Prawa:
RIGHT_READ | | Read | Lecture | Lesen | Чтение | Odczyt
RIGHT_WRITE | | Write | Écriture | Schreiben | Запись | Zapis
RIGHT_DELETE | | Delete | Suppression | Löschen | Удаление | Usuwanie
RIGHT_APPROVE | | Approve | Approbation | Freigeben | Утверждение | Zatwierdzanie
RIGHT_ADMIN | | Full control | Contrôle total | Vollzugriff | Полный доступ | Pełna kontrola
CHK_INHERIT | | Inherit permissions from the project | Hériter des autorisations du projet | Berechtigungen vom Projekt übernehmen | Наследовать права проекта | Dziedzicz uprawnienia z projektu
ROLE_VIEWER | | Viewer | Lecteur | Leser | Читатель | Czytelnik
ROLE_EDITOR | | Editor | Rédacteur | Bearbeiter | Редактор | Redaktor
ROLE_REVIEWER | | Reviewer | Relecteur | Prüfer | Рецензент | Recenzent
ROLE_ADMINISTRATOR | | Administrator | Administrateur | Administrator | Администратор | Administrator

== Options dialog | Ar8
DLG_OPTIONS_TITLE | Ab10 | Options | Options | Optionen | Параметры | Opcje
TAB_OPTIONS_GENERAL | | General | Général | Allgemein | Общие | Ogólne
TAB_OPTIONS_SERVER | | Server | Serveur | Server | Сервер | Serwer
TAB_OPTIONS_FOLDERS | | Folders | Dossiers | Ordner | Папки | Foldery
TAB_OPTIONS_APPEARANCE | | Appearance | Apparence | Darstellung | Внешний вид | Wygląd
LBL_LANGUAGE | | User interface language: | Langue de l'interface : | Sprache der Benutzeroberfläche: | Язык интерфейса: | Język interfejsu:
LBL_SERVER_ADDRESS | | Server address: | Adresse du serveur : | Serveradresse: | Адрес сервера: | Adres serwera:
LBL_SERVER_PORT | | Port: | Port : | Port: | Порт: | Port:
LBL_USER_NAME | | User name: | Nom d'utilisateur : | Benutzername: | Имя пользователя: | Nazwa użytkownika:
LBL_PASSWORD | | Password: | Mot de passe : | Kennwort: | Пароль: | Hasło:
CHK_REMEMBER_PASSWORD | | Remember my password | Mémoriser mon mot de passe | Kennwort speichern | Запомнить пароль | Zapamiętaj hasło
CHK_USE_SSL | | Use a secure connection (SSL) | Utiliser une connexion sécurisée (SSL) | Sichere Verbindung verwenden (SSL) | Безопасное соединение (SSL) | Użyj bezpiecznego połączenia (SSL)
LBL_WORKING_FOLDER | | Local working folder: | Dossier de travail local : | Lokaler Arbeitsordner: | Локальная рабочая папка: | Lokalny folder roboczy:
LBL_CACHE_SIZE | | Cache size (MB): | Taille du cache (Mo) : | Cachegröße (MB): | Размер кэша (МБ): | Rozmiar pamięci podręcznej (MB):
CHK_OPEN_LAST_PROJECT | | Open the last project at start-up | Ouvrir le dernier projet au démarrage | Letztes Projekt beim Start öffnen | Открывать последний проект при запуске | Otwieraj ostatni projekt przy uruchomieniu
CHK_CONFIRM_DELETE | | Ask before deleting documents | Demander avant de supprimer des documents | Vor dem Löschen von Dokumenten fragen | Спрашивать перед удалением документов | Pytaj przed usunięciem dokumentów
CHK_AUTO_CHECK_IN | | Check in documents when closing | Archiver les documents à la fermeture | Dokumente beim Schließen einchecken | Возвращать документы при закрытии | Zwracaj dokumenty przy zamykaniu
LBL_AUTOSAVE |  | Save recovery information every | Enregistrer les informations de récupération automatique toutes les | Wiederherstellungsdaten speichern alle | Автосохранение каждые | Zapisuj dane odzyskiwania co
LBL_MINUTES | w- | minutes | minutes | Min. | мин | min
LBL_THEME | | Colour scheme: | Jeu de couleurs : | Farbschema: | Цветовая схема: | Schemat kolorów:
OPT_THEME_LIGHT | | Light | Clair | Hell | Светлая | Jasny
OPT_THEME_DARK | | Dark | Sombre | Dunkel | Тёмная | Ciemny
OPT_THEME_SYSTEM | | Use system setting | Utiliser le réglage du système | Systemeinstellung verwenden | Как в системе | Użyj ustawienia systemu
LBL_DATE_FORMAT | C9 | Date format: | Format de date : | Datumsformat: | Формат даты: | Format daty:

== Search dialog | A8
DLG_SEARCH_TITLE | Ab10 | Search Documents | Rechercher des documents | Dokumente suchen | Поиск документов | Wyszukiwanie dokumentów
LBL_SEARCH_FOR | | Search for: | Rechercher : | Suchen nach: | Найти: | Szukaj:
LBL_SEARCH_IN | | Look in: | Rechercher dans : | Suchen in: | Искать в: | Szukaj w:
OPT_SEARCH_ALL_PROJECTS | | All projects | Tous les projets | Alle Projekte | Все проекты | Wszystkie projekty
OPT_SEARCH_CURRENT_PROJECT | | Current project | Projet actuel | Aktuelles Projekt | Текущий проект | Bieżący projekt
CHK_SEARCH_CONTENT | | Search document content | Rechercher dans le contenu | Dokumentinhalt durchsuchen | Искать в содержимом | Szukaj w treści dokumentów
CHK_MATCH_CASE | w160 | Match case | Sensible à la casse | Groß-/Kleinschreibung beachten | С учётом регистра | Uwzględniaj wielkość liter
CHK_WHOLE_WORDS | | Whole words only | Mots entiers uniquement | Nur ganze Wörter | Только слово целиком | Tylko całe wyrazy
LBL_MODIFIED_BETWEEN |  | Modified between | Modifié entre | Geändert zwischen | Изменен в период с | Zmodyfikowano między
LBL_AND | w- | and | et | und | по | a
LBL_RESULTS | Ab8 | Results | Résultats | Ergebnisse | Результаты | Wyniki
LBL_RESULTS_COUNT | | %d documents found | %d documents trouvés | %d Dokumente gefunden | Найдено документов: %d | Znaleziono dokumentów: %d
LBL_NO_RESULTS |  | No documents match your search. | Aucun document ne correspond à votre recherche. | Keine Dokumente entsprechen Ihrer Suche. | Документы по вашему запросу не найдены. | Brak dokumentów spełniających kryteria.
LBL_REPLACE_WITH | | Replace with: | Remplacer par : | Ersetzen durch: | Заменить на: | Zamień na:
BTN_REPLACE_ALL | | Replace All | Remplacer tout | Alle ersetzen | Заменить все | Zamień wszystko

== Check in dialog | _8
DLG_CHECK_IN_TITLE | Ab10 | Check In Document | Archiver le document | Dokument einchecken | Вернуть документ | Zwróć dokument
LBL_CHECK_IN_COMMENT | | Describe your changes: | Décrivez vos modifications : | Beschreiben Sie Ihre Änderungen: | Опишите изменения: | Opisz wprowadzone zmiany:
OPT_MINOR_VERSION | | Minor version (1.1 to 1.2) | Version mineure (1.1 à 1.2) | Nebenversion (1.1 auf 1.2) | Промежуточная версия (1.1 в 1.2) | Wersja pomocnicza (1.1 na 1.2)
OPT_MAJOR_VERSION | | Major version (1.1 to 2.0) | Version majeure (1.1 à 2.0) | Hauptversion (1.1 auf 2.0) | Основная версия (1.1 в 2.0) | Wersja główna (1.1 na 2.0)
CHK_KEEP_CHECKED_OUT | | Keep the document checked out | Garder le document extrait | Dokument ausgecheckt lassen | Оставить документ на редактировании | Pozostaw dokument pobrany
CHK_NOTIFY_WATCHERS | | Notify the people who follow this document | Avertir les personnes qui suivent ce document | Beobachter dieses Dokuments benachrichtigen | Уведомить подписчиков документа | Powiadom osoby obserwujące ten dokument

== Import and export | A8
DLG_IMPORT_TITLE | Ab10 | Import Documents | Importer des documents | Dokumente importieren | Импорт документов | Import dokumentów
LBL_IMPORT_SOURCE | | Import from: | Importer depuis : | Importieren aus: | Источник: | Importuj z:
OPT_IMPORT_FOLDER | | A folder on this computer | Un dossier de cet ordinateur | Einem Ordner auf diesem Computer | Папка на этом компьютере | Folderu na tym komputerze
OPT_IMPORT_ARCHIVE | | A Kavrino archive (*.kvz) | Une archive Kavrino (*.kvz) | Einem Kavrino-Archiv (*.kvz) | Архив Kavrino (*.kvz) | Archiwum Kavrino (*.kvz)
OPT_IMPORT_SCANNER | | A scanner | Un scanner | Einem Scanner | Сканер | Skanera
CHK_INCLUDE_SUBFOLDERS | | Include subfolders | Inclure les sous-dossiers | Unterordner einbeziehen | Включая вложенные папки | Uwzględnij podfoldery
LBL_IMPORT_PROGRESS | | Importing %d of %d... | Importation de %d sur %d... | %d von %d wird importiert... | Импорт %d из %d... | Importowanie %d z %d...
DLG_EXPORT_TITLE | Ab10 | Export Project | Exporter le projet | Projekt exportieren | Экспорт проекта | Eksport projektu
LBL_EXPORT_FORMAT | | Export format: | Format d'exportation : | Exportformat: | Формат экспорта: | Format eksportu:
OPT_EXPORT_PDF | w- | PDF | PDF | PDF | PDF | PDF
OPT_EXPORT_ZIP | | ZIP archive | Archive ZIP | ZIP-Archiv | Архив ZIP | Archiwum ZIP
OPT_EXPORT_XML | | XML with metadata | XML avec métadonnées | XML mit Metadaten | XML с метаданными | XML z metadanymi
CHK_EXPORT_HISTORY | | Include the version history | Inclure l'historique des versions | Versionsverlauf einschließen | Включить журнал версий | Dołącz historię wersji
CHK_EXPORT_COMMENTS | | Include comments | Inclure les commentaires | Kommentare einschließen | Включить комментарии | Dołącz komentarze
LBL_DESTINATION | | Destination: | Destination : | Ziel: | Папка назначения: | Miejsce docelowe:

== Status bar | A7
STATUS_READY |  | Ready | Prêt | Bereit | Готово | Gotowe
STATUS_CONNECTING | | Connecting to %s... | Connexion à %s... | Verbindung mit %s... | Подключение к %s... | Łączenie z %s...
STATUS_CONNECTED | | Connected to %s | Connecté à %s | Verbunden mit %s | Подключено к %s | Połączono z %s
STATUS_OFFLINE | Ab7w45 | Offline | Hors connexion | Offline | Не в сети | Offline
STATUS_LOADING | | Loading project... | Chargement du projet... | Projekt wird geladen... | Загрузка проекта... | Wczytywanie projektu...
STATUS_SAVING | | Saving... | Enregistrement... | Speichern... | Сохранение... | Zapisywanie...
STATUS_SAVED | | Document saved | Document enregistré | Dokument gespeichert | Документ сохранён | Dokument zapisany
STATUS_PRINTING | | Printing page %d of %d | Impression de la page %d sur %d | Seite %d von %d wird gedruckt | Печать страницы %d из %d | Drukowanie strony %d z %d
STATUS_DOCUMENTS | | %d documents | %d documents | %d Dokumente | Документов: %d | Dokumentów: %d
STATUS_SELECTED | | %d selected | %d sélectionnés | %d ausgewählt | Выбрано: %d | Zaznaczono: %d
STATUS_CHECKED_OUT | | Checked out to you | Extrait par vous | Von Ihnen ausgecheckt | Редактируется вами | Pobrany przez Ciebie
STATUS_LOCKED_BY | | Locked by %s | Verrouillé par %s | Gesperrt von %s | Заблокирован: %s | Zablokowany przez: %s
STATUS_READ_ONLY | Ab7 | Read-only | Lecture seule | Schreibgeschützt | Только чтение | Tylko do odczytu
STATUS_INDEXING | | Indexing documents: %d%% | Indexation des documents : %d %% | Dokumente werden indiziert: %d %% | Индексирование документов: %d%% | Indeksowanie dokumentów: %d%%
STATUS_SYNC_DONE | | Synchronisation complete | Synchronisation terminée | Synchronisierung abgeschlossen | Синхронизация завершена | Synchronizacja zakończona
STATUS_ZOOM | w- | %d%% | %d%% | %d%% | %d%% | %d%%
STATUS_PAGE | | Page %d of %d | Page %d sur %d | Seite %d von %d | Страница %d из %d | Strona %d z %d
STATUS_USER | | User: %s | Utilisateur : %s | Benutzer: %s | Пользователь: %s | Użytkownik: %s
STATUS_CAPS | Cb7w- | CAPS | MAJ | UF | CAPS | CAPS
STATUS_NUM | Cb7w- | NUM | NUM | NUM | NUM | NUM

== Messages | A8
MSG_CONFIRM_DELETE | | Do you really want to delete %s? | Voulez-vous vraiment supprimer %s ? | Möchten Sie %s wirklich löschen? | Вы действительно хотите удалить %s? | Czy na pewno usunąć %s?
MSG_CONFIRM_DELETE_MANY | | Do you really want to delete the %d selected documents? | Voulez-vous vraiment supprimer les %d documents sélectionnés ? | Möchten Sie die %d ausgewählten Dokumente wirklich löschen? | Удалить выбранные документы (%d)? | Czy na pewno usunąć zaznaczone dokumenty (%d)?
MSG_SAVE_CHANGES | | Save changes to %s? | Enregistrer les modifications de %s ? | Änderungen an %s speichern? | Сохранить изменения в %s? | Zapisać zmiany w %s?
MSG_UNSAVED_CHANGES | | Some documents have unsaved changes. Close anyway? | Certains documents ont des modifications non enregistrées. Fermer quand même ? | Einige Dokumente enthalten ungespeicherte Änderungen. Trotzdem schließen? | Некоторые документы содержат несохранённые изменения. Всё равно закрыть? | Niektóre dokumenty mają niezapisane zmiany. Zamknąć mimo to?
MSG_FILE_NOT_FOUND | | The file %s cannot be found. | Le fichier %s est introuvable. | Die Datei %s wurde nicht gefunden. | Файл %s не найден. | Nie można znaleźć pliku %s.
MSG_FILE_IN_USE | | The file %s is being used by another program. | Le fichier %s est utilisé par un autre programme. | Die Datei %s wird von einem anderen Programm verwendet. | Файл %s используется другой программой. | Plik %s jest używany przez inny program.
MSG_ACCESS_DENIED | | You do not have permission to open this document. | Vous n'êtes pas autorisé à ouvrir ce document. | Sie sind nicht berechtigt, dieses Dokument zu öffnen. | У вас нет прав на открытие этого документа. | Nie masz uprawnień do otwarcia tego dokumentu.
MSG_ALREADY_CHECKED_OUT | | This document is already checked out by %s. | Ce document est déjà extrait par %s. | Dieses Dokument ist bereits von %s ausgecheckt. | Этот документ уже редактирует %s. | Ten dokument jest już pobrany przez: %s.
MSG_NOT_CHECKED_OUT | | Check out the document before you edit it. | Extrayez le document avant de le modifier. | Checken Sie das Dokument vor dem Bearbeiten aus. | Перед изменением возьмите документ на редактирование. | Pobierz dokument do edycji przed jego zmianą.
MSG_CHECK_IN_DONE | | Version %s has been checked in. | La version %s a été archivée. | Version %s wurde eingecheckt. | Версия %s сохранена в хранилище. | Wersja %s została zwrócona do repozytorium.
MSG_UNDO_CHECK_OUT | | Discard your changes and undo the check-out? | Abandonner vos modifications et annuler l'extraction ? | Änderungen verwerfen und Auschecken rückgängig machen? | Отменить изменения и вернуть документ без сохранения? | Odrzucić zmiany i cofnąć pobranie?
MSG_CONNECTION_LOST | | The connection to the server was lost. Kavrino will try to reconnect. | La connexion au serveur a été perdue. Kavrino va tenter de se reconnecter. | Die Verbindung zum Server wurde unterbrochen. Kavrino versucht, die Verbindung wiederherzustellen. | Соединение с сервером потеряно. Kavrino попытается подключиться снова. | Utracono połączenie z serwerem. Kavrino spróbuje połączyć się ponownie.
MSG_SERVER_UNREACHABLE | | Cannot reach the server %s. Check the address and your network connection. | Impossible de joindre le serveur %s. Vérifiez l'adresse et votre connexion réseau. | Der Server %s ist nicht erreichbar. Prüfen Sie die Adresse und Ihre Netzwerkverbindung. | Сервер %s недоступен. Проверьте адрес и сетевое подключение. | Nie można połączyć się z serwerem %s. Sprawdź adres i połączenie sieciowe.
MSG_LOGIN_FAILED | | The user name or password is incorrect. | Le nom d'utilisateur ou le mot de passe est incorrect. | Benutzername oder Kennwort ist falsch. | Неверное имя пользователя или пароль. | Nieprawidłowa nazwa użytkownika lub hasło.
MSG_SESSION_EXPIRED | | Your session has expired. Please sign in again. | Votre session a expiré. Veuillez vous reconnecter. | Ihre Sitzung ist abgelaufen. Bitte melden Sie sich erneut an. | Сеанс истёк. Войдите снова. | Sesja wygasła. Zaloguj się ponownie.
MSG_PROJECT_EXISTS |  | A project named %s already exists. | Un projet nommé %s existe déjà. | Das Projekt %s ist bereits vorhanden. | Проект с именем %s уже существует. | Projekt o nazwie %s już istnieje.
MSG_NAME_REQUIRED | | Please enter a name. | Veuillez saisir un nom. | Bitte geben Sie einen Namen ein. | Введите имя. | Wprowadź nazwę.
MSG_INVALID_CHARS | | A name cannot contain any of these characters: \ / : * ? < > | Un nom ne peut contenir aucun de ces caractères : \ / : * ? < > | Ein Name darf keines dieser Zeichen enthalten: \ / : * ? < > | Имя не может содержать следующие знаки: \ / : * ? < > | Nazwa nie może zawierać żadnego z tych znaków: \ / : * ? < >
MSG_INVALID_DATE | | The end date must be after the start date. | La date de fin doit être postérieure à la date de début. | Das Enddatum muss nach dem Anfangsdatum liegen. | Дата окончания должна быть позже даты начала. | Data zakończenia musi być późniejsza niż data rozpoczęcia.
MSG_DISK_FULL | | There is not enough free space on drive %s. | L'espace disponible sur le lecteur %s est insuffisant. | Auf Laufwerk %s ist nicht genügend Speicherplatz frei. | Недостаточно свободного места на диске %s. | Za mało wolnego miejsca na dysku %s.
MSG_IMPORT_DONE | | %d documents have been imported. | %d documents ont été importés. | %d Dokumente wurden importiert. | Импортировано документов: %d. | Zaimportowano dokumentów: %d.
MSG_IMPORT_SKIPPED | | %d files were skipped because they already exist. | %d fichiers ont été ignorés car ils existent déjà. | %d Dateien wurden übersprungen, weil sie bereits vorhanden sind. | Пропущено файлов: %d (уже существуют). | Pominięto plików: %d (już istnieją).
MSG_EXPORT_DONE | | The project has been exported to %s. | Le projet a été exporté vers %s. | Das Projekt wurde nach %s exportiert. | Проект экспортирован в %s. | Projekt został wyeksportowany do %s.
MSG_REVIEW_SENT | | The document has been sent to %d reviewers. | Le document a été envoyé à %d relecteurs. | Das Dokument wurde an %d Prüfer gesendet. | Документ отправлен рецензентам: %d. | Dokument został wysłany do recenzentów: %d.
MSG_REJECT_REASON | | Please give a reason for the rejection. | Veuillez indiquer le motif du rejet. | Bitte geben Sie einen Grund für die Ablehnung an. | Укажите причину отклонения. | Podaj powód odrzucenia.
MSG_APPROVED | | The document has been approved. | Le document a été approuvé. | Das Dokument wurde freigegeben. | Документ утверждён. | Dokument został zatwierdzony.
MSG_ARCHIVE_PROJECT | | Archived projects are read-only. Archive %s now? | Les projets archivés sont en lecture seule. Archiver %s maintenant ? | Archivierte Projekte sind schreibgeschützt. %s jetzt archivieren? | Архивные проекты доступны только для чтения. Архивировать %s? | Zarchiwizowane projekty są tylko do odczytu. Zarchiwizować teraz %s?
MSG_UPDATE_AVAILABLE | | Kavrino %s is available. Do you want to download it now? | Kavrino %s est disponible. Voulez-vous le télécharger maintenant ? | Kavrino %s ist verfügbar. Möchten Sie es jetzt herunterladen? | Доступна версия Kavrino %s. Скачать её сейчас? | Dostępna jest wersja Kavrino %s. Pobrać ją teraz?
MSG_NO_UPDATE | | You are using the latest version of Kavrino. | Vous utilisez la dernière version de Kavrino. | Sie verwenden die neueste Version von Kavrino. | У вас установлена последняя версия Kavrino. | Używasz najnowszej wersji Kavrino.
MSG_REINDEX | | Rebuilding the search index can take several minutes. Continue? | La reconstruction de l'index peut prendre plusieurs minutes. Continuer ? | Der Neuaufbau des Suchindex kann einige Minuten dauern. Fortfahren? | Перестроение индекса может занять несколько минут. Продолжить? | Odbudowa indeksu może potrwać kilka minut. Kontynuować?
MSG_BACKUP_DONE | | The database has been backed up to %s. | La base de données a été sauvegardée dans %s. | Die Datenbank wurde in %s gesichert. | Резервная копия базы сохранена в %s. | Kopia zapasowa bazy została zapisana w %s.
MSG_BACKUP_FAILED | | The backup could not be completed: %s | La sauvegarde n'a pas pu être effectuée : %s | Die Sicherung konnte nicht abgeschlossen werden: %s | Не удалось создать резервную копию: %s | Nie udało się wykonać kopii zapasowej: %s
MSG_TEMPLATE_IN_USE | | This template is used by %d documents and cannot be deleted. | Ce modèle est utilisé par %d documents et ne peut pas être supprimé. | Diese Vorlage wird von %d Dokumenten verwendet und kann nicht gelöscht werden. | Шаблон используется документами (%d) и не может быть удалён. | Szablon jest używany przez dokumenty (%d) i nie można go usunąć.
MSG_LAST_ADMIN | | A project needs at least one administrator. | Un projet doit avoir au moins un administrateur. | Ein Projekt benötigt mindestens einen Administrator. | В проекте должен быть хотя бы один администратор. | Projekt musi mieć co najmniej jednego administratora.
MSG_FILE_TOO_LARGE | | The file %s is larger than the limit of %d MB. | Le fichier %s dépasse la limite de %d Mo. | Die Datei %s ist größer als die Grenze von %d MB. | Размер файла %s превышает ограничение %d МБ. | Plik %s przekracza limit %d MB.
MSG_UNKNOWN_FORMAT | | Kavrino cannot display files of this type. | Kavrino ne peut pas afficher les fichiers de ce type. | Kavrino kann Dateien dieses Typs nicht anzeigen. | Kavrino не может отображать файлы этого типа. | Kavrino nie może wyświetlać plików tego typu.
MSG_PRINT_NO_PRINTER | | No printer is installed. | Aucune imprimante n'est installée. | Es ist kein Drucker installiert. | Принтер не установлен. | Nie zainstalowano drukarki.
MSG_RESTART_REQUIRED | | The new language is used after Kavrino is restarted. | La nouvelle langue sera utilisée au prochain démarrage de Kavrino. | Die neue Sprache wird nach einem Neustart von Kavrino verwendet. | Новый язык будет использован после перезапуска Kavrino. | Nowy język zostanie użyty po ponownym uruchomieniu Kavrino.
MSG_UNEXPECTED_ERROR | | An unexpected error occurred. Details have been written to the log file. | Une erreur inattendue s'est produite. Les détails ont été écrits dans le journal. | Ein unerwarteter Fehler ist aufgetreten. Details wurden in die Protokolldatei geschrieben. | Произошла непредвиденная ошибка. Подробности записаны в журнал. | Wystąpił nieoczekiwany błąd. Szczegóły zapisano w pliku dziennika.
MSG_ERROR_TITLE | Ab8 | Error | Erreur | Fehler | Ошибка | Błąd
MSG_WARNING_TITLE | Ab8 | Warning | Avertissement | Warnung | Предупреждение | Ostrzeżenie
MSG_INFO_TITLE | Ab8 | Information | Information | Information | Информация | Informacja
MSG_CONFIRM_TITLE | Ab8 | Confirm | Confirmation | Bestätigen | Подтверждение | Potwierdzenie
MSG_PLEASE_WAIT | | Please wait... | Veuillez patienter... | Bitte warten... | Подождите... | Proszę czekać...

== About box | T10
ABOUT_TITLE | Tb14w- | Kavrino | Kavrino | Kavrino | Kavrino | Kavrino
ABOUT_SUBTITLE | Tb12 | Document and Project Manager | Gestionnaire de documents et de projets | Dokumenten- und Projektverwaltung | Управление документами и проектами | Menedżer dokumentów i projektów
ABOUT_VERSION | | Version %s (build %d) | Version %s (build %d) | Version %s (Build %d) | Версия %s (сборка %d) | Wersja %s (kompilacja %d)
ABOUT_COPYRIGHT | T9 | Copyright (C) Brenvak Software. All rights reserved. | Copyright (C) Brenvak Software. Tous droits réservés. | Copyright (C) Brenvak Software. Alle Rechte vorbehalten. | (C) Brenvak Software. Все права защищены. | Copyright (C) Brenvak Software. Wszelkie prawa zastrzeżone.
ABOUT_LICENSED_TO | | This product is licensed to: | Ce produit est concédé sous licence à : | Dieses Produkt ist lizenziert für: | Лицензия на продукт выдана: | Licencja na ten produkt udzielona dla:
ABOUT_SERIAL | Cr8 | Serial number: %s | Numéro de série : %s | Seriennummer: %s | Серийный номер: %s | Numer seryjny: %s
ABOUT_WARNING | T8 | This program is protected by copyright law and international treaties. | Ce programme est protégé par la loi sur le droit d'auteur et les traités internationaux. | Dieses Programm ist durch Urheberrechtsgesetze und internationale Verträge geschützt. | Эта программа защищена законами об авторском праве и международными договорами. | Ten program jest chroniony prawem autorskim i umowami międzynarodowymi.
ABOUT_SYSTEM_INFO | | System Information... | Informations système... | Systeminformationen... | Сведения о системе... | Informacje o systemie...

== Printed reports | T10
REPORT_DOCUMENT_LIST | Tb14 | Document List | Liste des documents | Dokumentenliste | Список документов | Lista dokumentów
REPORT_PROJECT_SUMMARY | Tb14 | Project Summary | Synthèse du projet | Projektübersicht | Сводка по проекту | Podsumowanie projektu
REPORT_REVIEW_STATUS | Tb12 | Review Status | État des révisions | Prüfstatus | Состояние проверки | Stan recenzji
REPORT_PRINTED_ON | T8 | Printed on %s by %s | Imprimé le %s par %s | Gedruckt am %s von %s | Напечатано %s, пользователь %s | Wydrukowano %s przez %s
REPORT_PAGE | T8 | Page %d | Page %d | Seite %d | Стр. %d | Strona %d
REPORT_TOTAL | Tb10 | Total: | Total : | Summe: | Итого: | Razem:
REPORT_OPEN_TASKS |  | Open review tasks | Tâches de révision ouvertes | Offene Prüfaufgaben | Открытые задачи проверки | Otwarte zadania recenzji
REPORT_OVERDUE | Tb10 | Overdue | En retard | Überfällig | Просрочено | Po terminie
REPORT_NO_DATA | | There is no data for this report. | Il n'y a aucune donnée pour ce rapport. | Für diesen Bericht liegen keine Daten vor. | Нет данных для отчета. | Brak danych dla tego raportu.
REPORT_CONFIDENTIAL | Tb9 | CONFIDENTIAL - FOR INTERNAL USE ONLY | CONFIDENTIEL - USAGE INTERNE UNIQUEMENT | VERTRAULICH - NUR FÜR DEN INTERNEN GEBRAUCH | КОНФИДЕНЦИАЛЬНО - ТОЛЬКО ДЛЯ ВНУТРЕННЕГО ИСПОЛЬЗОВАНИЯ | POUFNE - WYŁĄCZNIE DO UŻYTKU WEWNĘTRZNEGO

== Activity log | C8
LOG_TITLE | Ab9 | Activity Log | Journal d'activité | Aktivitätsprotokoll | Журнал действий | Dziennik aktywności
LOG_COL_TIME | | Time | Heure | Zeit | Время | Czas
LOG_COL_ACTION | | Action | Action | Aktion | Действие | Akcja
LOG_OPENED | | %s opened %s | %s a ouvert %s | %s hat %s geöffnet | %s открыл(а) %s | %s otworzył(a) %s
LOG_CHECKED_OUT | | %s checked out %s | %s a extrait %s | %s hat %s ausgecheckt | %s взял(а) %s на редактирование | %s pobrał(a) %s do edycji
LOG_CHECKED_IN | | %s checked in %s (version %s) | %s a archivé %s (version %s) | %s hat %s eingecheckt (Version %s) | %s вернул(а) %s (версия %s) | %s zwrócił(a) %s (wersja %s)
LOG_DELETED | | %s deleted %s | %s a supprimé %s | %s hat %s gelöscht | %s удалил(а) %s | %s usunął/usunęła %s
LOG_RENAMED | | %s renamed %s to %s | %s a renommé %s en %s | %s hat %s in %s umbenannt | %s переименовал(а) %s в %s | %s zmienił(a) nazwę %s na %s
LOG_PERMISSIONS | | %s changed the permissions of %s | %s a modifié les autorisations de %s | %s hat die Berechtigungen von %s geändert | %s изменил(а) права доступа к %s | %s zmienił(a) uprawnienia do %s
LOG_SIGNED_IN | | %s signed in from %s | %s s'est connecté depuis %s | %s hat sich von %s angemeldet | %s вошёл(а) в систему с %s | %s zalogował(a) się z %s
LOG_EXPORT_LOG | A8 | Export Log... | Exporter le journal... | Protokoll exportieren... | Экспорт журнала... | Eksportuj dziennik...
LOG_CLEAR_CONFIRM | A8 | Clear all entries older than %d days? | Effacer toutes les entrées de plus de %d jours ? | Alle Einträge löschen, die älter als %d Tage sind? | Удалить записи старше %d дн.? | Usunąć wszystkie wpisy starsze niż %d dni?
"""

USER_TABLE = r"""
== Main window | A8
APP_TITLE | Ab10w- | Pelmor | Pelmor
MENU_FILE | | File | Fichier
MENU_FILE_OPEN | | Open Document... | Ouvrir un document...
MENU_FILE_SAVE_COPY | | Save a Copy... | Enregistrer une copie...
MENU_FILE_PRINT | | Print... | Imprimer...
MENU_FILE_SIGN_OUT | | Sign Out | Se déconnecter
MENU_FILE_EXIT | | Exit | Quitter
MENU_VIEW | | View | Affichage
MENU_VIEW_INBOX | w95 | Inbox | Boîte de réception
MENU_VIEW_MY_TASKS | | My Tasks | Mes tâches
MENU_VIEW_FAVOURITES | | Favourites | Favoris
MENU_VIEW_RECENT | | Recent Documents | Documents récents
MENU_VIEW_SHARED | | Shared with Me | Mis à ma disposition
MENU_VIEW_REFRESH | | Refresh | Actualiser
MENU_TOOLS | | Tools | Outils
MENU_TOOLS_SETTINGS | | Settings... | Paramètres...
MENU_TOOLS_SYNC_NOW | | Synchronise Now | Synchroniser maintenant
MENU_HELP | | Help | Aide
MENU_HELP_GUIDE | | User Guide | Guide de l'utilisateur
MENU_HELP_ABOUT | | About Pelmor... | À propos de Pelmor...
TAB_INBOX | w30 | Inbox | Boîte de réception
TAB_TASKS | | Tasks | Tâches
TAB_DOCUMENTS | | Documents | Documents
TAB_NOTIFICATIONS | | Notifications | Notifications
LBL_WELCOME | Ab12 | Welcome, %s | Bienvenue, %s
LBL_SEARCH_BOX | H8 | Search Pelmor | Rechercher dans Pelmor
LBL_FILTER_UNREAD | | Unread only | Non lus uniquement
LBL_NOTHING_HERE | T10 | There is nothing here yet. | Il n'y a encore rien ici.

== Task list | A8
COL_TASK | | Task | Tâche
COL_DOCUMENT | | Document | Document
COL_FROM | | From | De
COL_RECEIVED | | Received | Reçu le
COL_DUE | w35 | Due | Date limite de remise
COL_PRIORITY | | Priority | Priorité
COL_STATUS | | Status | Statut
PRIORITY_LOW | | Low | Basse
PRIORITY_NORMAL | | Normal | Normale
PRIORITY_HIGH | Ab8 | High | Haute
PRIORITY_URGENT | Ab8 | Urgent | Urgent
TASK_STATUS_NEW | | New | Nouvelle
TASK_STATUS_IN_PROGRESS | | In progress | En cours
TASK_STATUS_DONE | | Done | Terminée
TASK_STATUS_OVERDUE | Ab8 | Overdue | En retard
TASK_REVIEW | | Review %s | Relire %s
TASK_APPROVE | | Approve %s | Approuver %s
TASK_SIGN | | Sign %s | Signer %s
TASK_ACKNOWLEDGE | | Confirm that you have read %s | Confirmer la lecture de %s
TASK_DUE_TODAY | Ab8 | Due today | À rendre aujourd'hui
TASK_DUE_TOMORROW | | Due tomorrow | À rendre demain
TASK_DUE_IN_DAYS | | Due in %d days | À rendre dans %d jours
TASK_OVERDUE_DAYS | | %d days overdue | En retard de %d jours

== Document viewer | A8
BTN_APPROVE | Ab8 | Approve | Approuver
BTN_REJECT | Ab8 | Reject | Rejeter
BTN_REQUEST_CHANGES | | Request Changes | Demander des modifications
BTN_SIGN | Ab8 | Sign | Signer
BTN_ADD_COMMENT | | Add Comment | Ajouter un commentaire
BTN_MARK_READ | | Mark as Read | Marquer comme lu
BTN_DOWNLOAD | | Download | Télécharger
BTN_OPEN_IN_KAVRINO | | Open in Kavrino | Ouvrir dans Kavrino
BTN_PREVIOUS_PAGE | | Previous Page | Page précédente
BTN_NEXT_PAGE | | Next Page | Page suivante
BTN_FIT_WIDTH | | Fit to Width | Ajuster à la largeur
BTN_FIT_PAGE | | Whole Page | Page entière
LBL_PAGE_OF | w- | Page %d of %d | Page %d / %d
LBL_COMMENTS | Ab9 | Comments | Commentaires
LBL_NO_COMMENTS |  | No comments yet. | Aucun commentaire.
LBL_WRITE_COMMENT | | Write a comment... | Écrire un commentaire...
LBL_REPLY | | Reply | Répondre
LBL_ATTACHMENTS | | Attachments (%d) | Pièces jointes (%d)
LBL_SIGNED_BY | T9 | Signed by %s on %s | Signé par %s le %s
LBL_APPROVED_BY | | Approved by %s | Approuvé par %s
LBL_REJECTED_BY | | Rejected by %s | Rejeté par %s
LBL_VERSION_OF | | Version %s of %s | Version %s du %s
LBL_READ_ONLY_COPY | Ab8 | Read-only copy | Copie en lecture seule

== Sign-in window | _8
DLG_SIGN_IN_TITLE | Ab12 | Sign in to Pelmor | Connexion à Pelmor
LBL_EMAIL | | E-mail address: | Adresse e-mail :
LBL_PASSWORD | | Password: | Mot de passe :
CHK_STAY_SIGNED_IN | | Keep me signed in | Rester connecté
BTN_SIGN_IN | Ab8 | Sign In | Se connecter
LNK_FORGOT_PASSWORD | H8 | Forgot your password? | Mot de passe oublié ?
LBL_SERVER | | Server: | Serveur :
LBL_SIGNING_IN | | Signing in... | Connexion en cours...

== Settings window | Ar8
DLG_SETTINGS_TITLE | Ab10 | Settings | Paramètres
TAB_SETTINGS_ACCOUNT | | Account | Compte
TAB_SETTINGS_NOTIFICATIONS | | Notifications | Notifications
TAB_SETTINGS_SYNC | | Synchronisation | Synchronisation
LBL_DISPLAY_NAME | | Display name: | Nom affiché :
LBL_SIGNATURE_IMAGE | | Signature image: | Image de signature :
CHK_NOTIFY_NEW_TASK | | When I receive a new task | Quand je reçois une nouvelle tâche
CHK_NOTIFY_COMMENT | | When someone answers my comment | Quand quelqu'un répond à mon commentaire
CHK_NOTIFY_DUE | | One day before a task is due | Un jour avant l'échéance d'une tâche
CHK_NOTIFY_SOUND | | Play a sound | Émettre un son
CHK_NOTIFY_EMAIL | | Also send me an e-mail | M'envoyer aussi un e-mail
LBL_SYNC_EVERY | | Synchronise every | Synchroniser toutes les
LBL_SYNC_MINUTES | w- | minutes | minutes
CHK_SYNC_WIFI_ONLY | | Only on unmetered connections | Uniquement sur les connexions non limitées
LBL_OFFLINE_FOLDER |  | Offline copies are kept in: | Copies hors connexion conservées dans :
BTN_CHANGE_FOLDER | | Change... | Modifier...
BTN_CLEAR_CACHE | | Clear Offline Copies | Supprimer les copies hors connexion
LBL_START_WITH_WINDOWS | | Start Pelmor when I sign in to Windows | Démarrer Pelmor à l'ouverture de session Windows

== Notifications | A8
NOTIFY_NEW_TASK | Ab8 | New task from %s | Nouvelle tâche de %s
NOTIFY_COMMENT | | %s commented on %s | %s a commenté %s
NOTIFY_MENTION | | %s mentioned you in %s | %s vous a mentionné dans %s
NOTIFY_APPROVED | | %s approved your document | %s a approuvé votre document
NOTIFY_REJECTED | | %s rejected your document | %s a rejeté votre document
NOTIFY_TASK_DUE | | Task due tomorrow: %s | Tâche à rendre demain : %s
NOTIFY_NEW_VERSION | | A new version of %s is available | Une nouvelle version de %s est disponible
NOTIFY_SHARED | | %s shared %s with you | %s a mis %s à votre disposition
NOTIFY_MARK_ALL_READ | | Mark All as Read | Tout marquer comme lu
NOTIFY_SEE_ALL | H8 | See all notifications | Voir toutes les notifications
NOTIFY_TRAY_UNREAD | H8 | Pelmor - %d unread | Pelmor - %d non lus

== Synchronisation status | A7
SYNC_UP_TO_DATE | | Up to date | À jour
SYNC_IN_PROGRESS | | Synchronising... | Synchronisation...
SYNC_PENDING | | %d changes waiting | %d modifications en attente
SYNC_LAST | | Last synchronised: %s | Dernière synchronisation : %s
SYNC_OFFLINE | Ab7 | Offline | Hors connexion
SYNC_ERROR | Ab7 | Synchronisation failed | Échec de la synchronisation
SYNC_CONFLICT | Ab7 | Conflict | Conflit
SYNC_SIZE | C7 | %s of %s | %s sur %s

== Messages | A8
MSG_SIGN_IN_FAILED | | Sign-in failed. Check your e-mail address and password. | La connexion a échoué. Vérifiez votre adresse e-mail et votre mot de passe.
MSG_ACCOUNT_LOCKED | | Your account is locked. Contact your administrator. | Votre compte est verrouillé. Contactez votre administrateur.
MSG_CONFIRM_APPROVE | | Approve %s? Your name and the date are added to the document. | Approuver %s ? Votre nom et la date seront ajoutés au document.
MSG_CONFIRM_SIGN | | By signing you confirm that you have read and accept %s. | En signant, vous confirmez avoir lu et accepté %s.
MSG_REJECT_REASON | | Tell the author why you reject the document: | Indiquez à l'auteur pourquoi vous rejetez le document :
MSG_COMMENT_EMPTY | | The comment is empty. | Le commentaire est vide.
MSG_DOCUMENT_DELETED | | This document has been deleted by its owner. | Ce document a été supprimé par son propriétaire.
MSG_DOCUMENT_CHANGED | | A newer version of this document exists. Open the newer version? | Une version plus récente de ce document existe. Ouvrir la version plus récente ?
MSG_NO_ACCESS | | You no longer have access to this document. | Vous n'avez plus accès à ce document.
MSG_SYNC_CONFLICT | | %s was changed here and on the server. Which version do you want to keep? | %s a été modifié ici et sur le serveur. Quelle version voulez-vous conserver ?
BTN_KEEP_MINE | | Keep Mine | Garder la mienne
BTN_KEEP_SERVER | | Keep Server Version | Garder celle du serveur
MSG_OFFLINE_ACTION | | This action needs a connection to the server. | Cette action nécessite une connexion au serveur.
MSG_SIGN_OUT |  | Sign out? Offline copies stay on this computer. | Se déconnecter ? Les copies hors connexion restent sur ce PC.
MSG_CLEAR_CACHE |  | Delete all offline copies (%s)? | Supprimer les copies hors connexion (%s) ?
MSG_SIGNATURE_MISSING | | Add a signature image in Settings before you sign. | Ajoutez une image de signature dans les paramètres avant de signer.
MSG_TASK_DONE | | Task completed. Thank you! | Tâche terminée. Merci !
MSG_UPDATE_READY | | A new version of Pelmor is ready. Restart now? | Une nouvelle version de Pelmor est prête. Redémarrer maintenant ?
MSG_CANNOT_PRINT | | The owner of this document does not allow printing. | Le propriétaire de ce document n'autorise pas l'impression.
BTN_OK | w- | OK | OK
BTN_CANCEL | | Cancel | Annuler
BTN_CLOSE | | Close | Fermer
BTN_YES | | Yes | Oui
BTN_NO | | No | Non
BTN_RETRY | | Try Again | Réessayer
"""


if __name__ == "__main__":
    main()
