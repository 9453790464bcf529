#include "platform/Keyboard.h"

#include "platform/Locales.h"
#include "platform/Settings.h"

#include <algorithm>
#include <array>

#include <QProcess>
#include <QStandardPaths>

namespace kav {

namespace {

struct LayoutEntry {
    std::string_view Abbreviation;
    const char* Layout;
    const char* Variant;
};

// Layouts of xkeyboard-config for the languages a translator is likely to pick. Regional
// variants of one language share the layout their keyboards use.
constexpr std::array kLayouts{
    LayoutEntry{"ARA", "ara", ""},        LayoutEntry{"ARE", "ara", ""},
    LayoutEntry{"ARI", "ara", ""},        LayoutEntry{"ARJ", "ara", ""},
    LayoutEntry{"ARM", "ara", ""},        LayoutEntry{"ARU", "ara", ""},
    LayoutEntry{"AZC", "az", "cyrillic"}, LayoutEntry{"AZE", "az", ""},
    LayoutEntry{"BEL", "by", ""},         LayoutEntry{"BGR", "bg", ""},
    LayoutEntry{"BNB", "bd", ""},         LayoutEntry{"BNG", "in", "ben"},
    LayoutEntry{"BSB", "ba", ""},         LayoutEntry{"CAT", "es", "cat"},
    LayoutEntry{"CHS", "cn", ""},         LayoutEntry{"CHT", "tw", ""},
    LayoutEntry{"CSY", "cz", ""},         LayoutEntry{"DAN", "dk", ""},
    LayoutEntry{"DEA", "at", ""},         LayoutEntry{"DEC", "ch", ""},
    LayoutEntry{"DES", "ch", ""},         LayoutEntry{"DEU", "de", ""},
    LayoutEntry{"ELL", "gr", ""},         LayoutEntry{"ENA", "us", ""},
    LayoutEntry{"ENC", "us", ""},         LayoutEntry{"ENG", "gb", ""},
    LayoutEntry{"ENI", "ie", ""},         LayoutEntry{"ENU", "us", ""},
    LayoutEntry{"ENZ", "us", ""},         LayoutEntry{"ESM", "latam", ""},
    LayoutEntry{"ESN", "es", ""},         LayoutEntry{"ESP", "es", ""},
    LayoutEntry{"ESS", "latam", ""},      LayoutEntry{"ETI", "ee", ""},
    LayoutEntry{"EUQ", "es", ""},         LayoutEntry{"FAR", "ir", ""},
    LayoutEntry{"FIN", "fi", ""},         LayoutEntry{"FOS", "fo", ""},
    LayoutEntry{"FRA", "fr", ""},         LayoutEntry{"FRB", "be", ""},
    LayoutEntry{"FRC", "ca", ""},         LayoutEntry{"FRS", "ch", "fr"},
    LayoutEntry{"GLC", "es", ""},         LayoutEntry{"HEB", "il", ""},
    LayoutEntry{"HIN", "in", ""},         LayoutEntry{"HRV", "hr", ""},
    LayoutEntry{"HUN", "hu", ""},         LayoutEntry{"HYE", "am", ""},
    LayoutEntry{"IND", "us", ""},         LayoutEntry{"IRE", "ie", ""},
    LayoutEntry{"ISL", "is", ""},         LayoutEntry{"ITA", "it", ""},
    LayoutEntry{"ITS", "ch", ""},         LayoutEntry{"JPN", "jp", ""},
    LayoutEntry{"KAT", "ge", ""},         LayoutEntry{"KHM", "kh", ""},
    LayoutEntry{"KKZ", "kz", ""},         LayoutEntry{"KOR", "kr", ""},
    LayoutEntry{"KYR", "kg", ""},         LayoutEntry{"LAO", "la", ""},
    LayoutEntry{"LTH", "lt", ""},         LayoutEntry{"LVI", "lv", ""},
    LayoutEntry{"MKI", "mk", ""},         LayoutEntry{"MLT", "mt", ""},
    LayoutEntry{"MNN", "mn", ""},         LayoutEntry{"NLB", "be", ""},
    LayoutEntry{"NLD", "nl", ""},         LayoutEntry{"NON", "no", ""},
    LayoutEntry{"NOR", "no", ""},         LayoutEntry{"PLK", "pl", ""},
    LayoutEntry{"PTB", "br", ""},         LayoutEntry{"PTG", "pt", ""},
    LayoutEntry{"ROM", "ro", ""},         LayoutEntry{"RUS", "ru", ""},
    LayoutEntry{"SKY", "sk", ""},         LayoutEntry{"SLV", "si", ""},
    LayoutEntry{"SQI", "al", ""},         LayoutEntry{"SRB", "rs", ""},
    LayoutEntry{"SRL", "rs", "latin"},    LayoutEntry{"SRM", "rs", "latin"},
    LayoutEntry{"SRO", "rs", ""},         LayoutEntry{"SVE", "se", ""},
    LayoutEntry{"SVF", "fi", ""},         LayoutEntry{"TAJ", "tj", ""},
    LayoutEntry{"THA", "th", ""},         LayoutEntry{"TRK", "tr", ""},
    LayoutEntry{"TUK", "tm", ""},         LayoutEntry{"UKR", "ua", ""},
    LayoutEntry{"URD", "pk", ""},         LayoutEntry{"UZB", "uz", "latin"},
    LayoutEntry{"VIT", "vn", ""},
};

QString SetxkbmapProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("setxkbmap"));
}

bool StartSwitch(const XkbLayout& Layout) {
    const QString Program = SetxkbmapProgram();
    if (Program.isEmpty())
        return false;
    return QProcess::startDetached(Program, KeyboardService::SetxkbmapArguments(Layout));
}

std::optional<XkbLayout> QueryLayout() {
    const QString Program = SetxkbmapProgram();
    if (Program.isEmpty())
        return std::nullopt;
    QProcess Query;
    Query.start(Program, {QStringLiteral("-query")});
    if (!Query.waitForFinished(3000) || Query.exitStatus() != QProcess::NormalExit ||
        Query.exitCode() != 0) {
        Query.kill();
        return std::nullopt;
    }
    return ParseSetxkbmapQuery(QString::fromLocal8Bit(Query.readAllStandardOutput()));
}

} // namespace

std::optional<XkbLayout> ParseSetxkbmapQuery(const QString& Output) {
    XkbLayout Found;
    for (const QString& Line : Output.split(u'\n')) {
        const QString Key = Line.section(u':', 0, 0).trimmed();
        const QString Value = Line.section(u':', 1).trimmed();
        if (Key == QLatin1String("layout"))
            Found.Layout = Value;
        else if (Key == QLatin1String("variant"))
            Found.Variant = Value;
    }
    if (Found.Layout.isEmpty())
        return std::nullopt;
    return Found;
}

XkbLayout XkbLayoutForAbbreviation(std::string_view Abbreviation) {
    const auto It = std::find_if(kLayouts.begin(), kLayouts.end(), [&](const LayoutEntry& E) {
        return E.Abbreviation == Abbreviation;
    });
    if (It == kLayouts.end())
        return {};
    return {QString::fromLatin1(It->Layout), QString::fromLatin1(It->Variant)};
}

XkbLayout XkbLayoutForLocale(std::uint32_t Lcid) {
    const LocaleInfo* Locale = FindLocale(Lcid);
    return Locale ? XkbLayoutForAbbreviation(Locale->Abbreviation) : XkbLayout{};
}

bool KeyboardService::ActivateKeyboardLayout(std::uint32_t Lcid) {
    FRequests.push_back(Lcid);
    if (!SwitchingEnabled())
        return false;
    const XkbLayout Layout = XkbLayoutForLocale(Lcid);
    if (Layout.Layout.isEmpty())
        return false;
    if (!FStartLayout)
        FStartLayout = QueryLayout();
    if (!FStartLayout || !StartSwitch(Layout))
        return false;
    FSwitched = true;
    return true;
}

bool KeyboardService::RestoreStartLayout() {
    if (!FSwitched || !FStartLayout)
        return false;
    FSwitched = false;
    return StartSwitch(*FStartLayout);
}

std::uint32_t KeyboardService::LastRequestedLayout() const {
    return FRequests.empty() ? 0 : FRequests.back();
}

bool KeyboardService::SwitchingEnabled() {
    return KeyboardSwitchingEnabled();
}

QStringList KeyboardService::SetxkbmapArguments(const XkbLayout& Layout) {
    if (Layout.Layout.isEmpty())
        return {};
    // The variant always goes along, even empty: setxkbmap would otherwise keep the variant of
    // the previous layout (latin after Serbian) and fail on the new one.
    return {QStringLiteral("-layout"), Layout.Layout, QStringLiteral("-variant"), Layout.Variant};
}

KeyboardService& Keyboard() {
    static KeyboardService Service;
    return Service;
}

} // namespace kav
