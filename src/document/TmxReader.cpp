#include "document/TmxReader.h"

#include "document/ToolError.h"
#include "platform/Locales.h"

#include <QLocale>
#include <QXmlStreamReader>

namespace kav {

namespace {

// "fr-FR" -> "fr"; tags use "-", older tools "_".
QString PrimaryTag(QStringView Lang) {
    qsizetype Cut = 0;
    while (Cut < Lang.size() && Lang[Cut] != u'-' && Lang[Cut] != u'_')
        ++Cut;
    return Lang.left(Cut).toString().toLower();
}

// A tuv's language: xml:lang in TMX 1.4, lang in the older versions.
QString LangOf(const QXmlStreamAttributes& Attributes) {
    const QStringView Xml = Attributes.value(QStringLiteral("http://www.w3.org/XML/1998/namespace"),
                                             QStringLiteral("lang"));
    return PrimaryTag(Xml.isEmpty() ? Attributes.value(QStringLiteral("lang")) : Xml);
}

bool IsInlineCode(QStringView Name) {
    return Name == u"bpt" || Name == u"ept" || Name == u"it" || Name == u"ph" || Name == u"ut";
}

// The text of the seg element the reader stands on, without its inline codes.
QString ReadSegment(QXmlStreamReader& Xml) {
    QString Text;
    int Depth = 0;     // elements open inside the seg
    int SkipDepth = 0; // the depth of the inline code being left out, 0 for none
    while (!Xml.atEnd()) {
        switch (Xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++Depth;
            if (SkipDepth == 0 && IsInlineCode(Xml.name()))
                SkipDepth = Depth;
            break;
        case QXmlStreamReader::EndElement:
            if (Depth == 0)
                return Text; // </seg>
            if (Depth == SkipDepth)
                SkipDepth = 0;
            --Depth;
            break;
        case QXmlStreamReader::Characters:
            if (SkipDepth == 0)
                Text += Xml.text();
            break;
        default:
            break;
        }
    }
    return Text;
}

// The segments of the tu element the reader stands on; it stops after </tu>.
TTmxUnit ReadUnit(QXmlStreamReader& Xml, const QStringList& TargetTags) {
    TTmxUnit Unit;
    QString Lang;
    bool InVariant = false;
    while (!Xml.atEnd()) {
        const QXmlStreamReader::TokenType Token = Xml.readNext();
        if (Token == QXmlStreamReader::EndElement) {
            if (!InVariant)
                break; // </tu>
            InVariant = false;
        } else if (Token != QXmlStreamReader::StartElement) {
            continue;
        } else if (Xml.name() == u"tuv" && !InVariant) {
            Lang = LangOf(Xml.attributes());
            InVariant = true;
        } else if (Xml.name() == u"seg" && InVariant) {
            const QString Segment = ReadSegment(Xml);
            if (Lang == u"en" && Unit.Source.isEmpty())
                Unit.Source = Segment;
            else if (TargetTags.contains(Lang) && Unit.Target.isEmpty())
                Unit.Target = Segment;
        } else {
            Xml.skipCurrentElement(); // prop, note
        }
    }
    return Unit;
}

} // namespace

QStringList TmxLanguageTags(const std::string& LanguageCode) {
    QStringList Tags;
    // The Windows code is no ISO code ("CHS", "PLK"): the language its locale names is.
    const LocaleInfo* Locale = FindLocaleByAbbreviation(LanguageCode);
    if (!Locale)
        return Tags;
    const std::string_view Name = Locale->Name.substr(0, Locale->Name.find(" ("));
    const QString English = QString::fromUtf8(Name.data(), static_cast<qsizetype>(Name.size()));
    for (int Value = QLocale::AnyLanguage + 1; Value <= QLocale::LastLanguage; ++Value) {
        const auto Language = static_cast<QLocale::Language>(Value);
        if (QLocale::languageToString(Language) != English)
            continue;
        for (QLocale::LanguageCodeTypes Type :
             {QLocale::ISO639Part1, QLocale::ISO639Part2T, QLocale::ISO639Part2B}) {
            const QString Tag = QLocale::languageToCode(Language, Type);
            if (!Tag.isEmpty() && !Tags.contains(Tag))
                Tags << Tag;
        }
        break;
    }
    return Tags;
}

TTmxRead ReadTmx(const QByteArray& Data, const std::string& Path, const QStringList& TargetTags) {
    TTmxRead Read;
    QXmlStreamReader Xml(Data);
    bool Tmx = false;
    while (!Xml.atEnd()) {
        if (Xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (!Tmx) {
            if (Xml.name() != u"tmx") {
                Read.Error = LocatedMessage("This is not a TMX file", Path, Xml.lineNumber());
                return Read;
            }
            Tmx = true;
        } else if (Xml.name() == u"tu") {
            TTmxUnit Unit = ReadUnit(Xml, TargetTags);
            if (!Unit.Source.isEmpty() && !Unit.Target.isEmpty())
                Read.Units.push_back(std::move(Unit));
        }
    }
    if (Xml.hasError())
        Read.Error = LocatedMessage("The TMX file is damaged: " + Xml.errorString().toStdString(),
                                    Path, Xml.lineNumber());
    else if (!Tmx)
        Read.Error = LocatedMessage("This is not a TMX file", Path, 0);
    return Read;
}

} // namespace kav
