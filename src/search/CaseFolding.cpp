#include "search/CaseFolding.h"

#include "platform/Locales.h"

namespace kav {

namespace {

// The language part of a Windows name: "Turkish (Turkey)" gives "Turkish".
QString LanguageName(std::string_view WindowsName) {
    const QString Name = QString::fromUtf8(WindowsName.data(), qsizetype(WindowsName.size()));
    const qsizetype Paren = Name.indexOf(" (");
    return (Paren < 0 ? Name : Name.left(Paren)).trimmed();
}

} // namespace

QLocale LocaleOfLanguage(std::string_view Code) {
    const LocaleInfo* Info = Code.empty() ? nullptr : FindLocaleByAbbreviation(Code);
    if (!Info)
        return QLocale::c();
    QString Name = LanguageName(Info->Name);
    // Windows and Qt spell a few language names differently.
    if (Name == "Azeri")
        Name = "Azerbaijani";
    for (int L = QLocale::AnyLanguage + 1; L <= QLocale::LastLanguage; ++L) {
        const auto Language = static_cast<QLocale::Language>(L);
        if (QLocale::languageToString(Language) == Name)
            return QLocale(Language);
    }
    return QLocale::c();
}

TCaseFolding::TCaseFolding(bool MatchCase, const QLocale& Locale)
    : FMatchCase(MatchCase), FGreek(Locale.language() == QLocale::Greek), FLocale(Locale) {}

const std::u16string& TCaseFolding::Fold(const QString& Character) const {
    const std::u16string Key = Character.toStdU16String();
    auto Known = FCache.find(Key);
    if (Known != FCache.end())
        return Known->second;
    QString Folded = FMatchCase ? Character : FLocale.toUpper(Character);
    // Alone, a Greek letter can keep its accent as a capital (the disjunctive "ή"); inside a
    // word it loses it. Letters are folded alone, so the accent goes here, for every letter.
    if (FGreek && !FMatchCase && !Character.at(0).isMark()) {
        QString Bare;
        for (QChar C : Folded)
            if (!C.isMark())
                Bare += C;
        Folded = Bare;
    }
    return FCache.emplace(Key, Folded.toStdU16String()).first->second;
}

const std::u16string& TCaseFolding::FoldUnit(char16_t Unit) const {
    if (Unit >= FLowUnits.size()) {
        auto Known = FHighUnits.find(Unit);
        if (Known == FHighUnits.end())
            Known = FHighUnits.emplace(Unit, Fold(QString(QChar(Unit)))).first;
        return Known->second;
    }
    if (!FLowKnown[Unit]) {
        FLowUnits[Unit] = Fold(QString(QChar(Unit)));
        FLowKnown[Unit] = true;
    }
    return FLowUnits[Unit];
}

} // namespace kav
