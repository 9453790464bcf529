#!/usr/bin/env python3
"""Writes a large synthetic translation pair for benchmarks.

    gen_str_pair.py OUTDIR [ITEMS]

OUTDIR receives Default/Kavr_ENU.str (the default file), Language/Kavr_FRA.str (the
translation, with exactly 1 in 10 texts holding "Fichier" with that capital, for replace
benchmarks) and Kavr_FRA.po, the same content as a gettext PO file. Deterministic: the same
ITEMS give the same bytes.
"""
import os
import random
import sys

WORDS = ("file open save close print export import project document folder user "
         "settings window view edit search replace report status error warning help "
         "about version license account server network update backup restore").split()
FRENCH = ("fichier ouvrir enregistrer fermer imprimer exporter importer projet document "
          "dossier utilisateur paramètres fenêtre affichage édition rechercher remplacer "
          "rapport état erreur avertissement aide propos version licence compte serveur "
          "réseau mise sauvegarde restaurer").split()
FONTS = ["Arial", "Arial", "Arial", "", "Times New Roman", "Courier New"]


def field(name, text, tail):
    return ("Txt_" + name).ljust(70) + ' , "' + text + '"' + tail + "\r\n"


def main():
    out = sys.argv[1]
    items = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    rnd = random.Random(1234)
    os.makedirs(os.path.join(out, "Default"), exist_ok=True)
    os.makedirs(os.path.join(out, "Language"), exist_ok=True)
    default = ['#include "KavLang.Inc"\r\n', "\r\n", "//Kavrino Language Kavr_ENU.str\r\n",
               "\r\n"]
    translated = ['#include "KavLang.Inc"\r\n', "\r\n", "//Kavrino Language Kavr_FRA.str\r\n",
                  "\r\n"]
    po = ['msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n\n']
    for i in range(items):
        name = "ITEM_%06d_%s" % (i, rnd.choice(WORDS).upper())
        count = rnd.randint(2, 8)
        english = " ".join(rnd.choice(WORDS) for _ in range(count)).capitalize()
        # Only the prefix below starts with a capital "Fichier", so that a case-sensitive
        # Replace All of it finds exactly one text in ten.
        first = rnd.choice(FRENCH[1:])
        french = " ".join([first] + [rnd.choice(FRENCH) for _ in range(count - 1)]).capitalize()
        if i % 10 == 0:
            french = "Fichier " + french
        elif i % 17 == 0:
            french = english  # untranslated
        width = 20 + 7 * len(english)
        font = rnd.choice(FONTS)
        style = "Bold" if i % 9 == 0 else ""
        size = rnd.choice([8, 8, 8, 9, 10])
        default.append(field(name, english, " {%d} {%s} {%s} {%d}" % (width, font, style, size)))
        mark = 65535 if i % 50 == 0 else 16777215
        translated.append(field(name, french, "  {%d}" % mark))
        po.append('msgctxt "%s"\nmsgid "%s"\nmsgstr "%s"\n\n' % (name, english, french))
    with open(os.path.join(out, "Default", "Kavr_ENU.str"), "wb") as f:
        f.write("".join(default).encode("cp1252"))
    with open(os.path.join(out, "Language", "Kavr_FRA.str"), "wb") as f:
        f.write("".join(translated).encode("cp1252"))
    with open(os.path.join(out, "Kavr_FRA.po"), "wb") as f:
        f.write("".join(po).encode("utf-8"))


if __name__ == "__main__":
    main()
