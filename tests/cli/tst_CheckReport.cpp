#include "cli/CheckReport.h"

#include <QtTest>

using namespace kav;

// The CI reports of a check read back: each must carry the same findings as the JSON report.
class TestCheckReport : public QObject {
    Q_OBJECT
private slots:
    void sarifCarriesTheJsonFindings();
    void junitHasATestPerItemAndAFailurePerError();
    void exitCode_data();
    void exitCode();
};

namespace {

TRowReport Row(int Item, const std::string& Name, long long Line, std::vector<TFinding> Findings) {
    TRowReport R;
    R.Item = Item;
    R.Name = Name;
    R.Line = Line;
    R.Allowed = 60;
    R.Measured = 65;
    R.Percent = WidthPercent(60, 65);
    R.Text = "Fichier <introuvable> & \"x\"";
    R.Findings = std::move(Findings);
    return R;
}

TFinding Finding(TFindingKind Kind, const std::string& Message) {
    return {Kind, SeverityOf(Kind), Message};
}

// Two files: rows with several findings, a row without any, an item without a line.
std::vector<TFileReport> Reports() {
    TFileReport A;
    A.File = "/tmp/kav check/Language/Kavr_FRA.str";
    A.Code = "FRA";
    A.Rows = {Row(1, "A", 5,
                  {Finding(TFindingKind::TooLong, "too long: measured 65 px of 60 px allowed"),
                   Finding(TFindingKind::Untranslated, "the translation equals the default")}),
              Row(2, "B", 6, {}),
              Row(3, "C", 0,
                  {Finding(TFindingKind::Placeholders, "format specifiers differ: missing %s"),
                   Finding(TFindingKind::Punctuation, "the default ends with a colon")})};
    TFileReport B;
    B.File = "Language/Kavr_DEU.str";
    B.Code = "DEU";
    B.Rows = {Row(1, "A", 7, {Finding(TFindingKind::Crowded, "fills 95 % of its space")})};
    return {A, B};
}

// file, item, name, kind, severity, line, message: what every report must agree on.
using TKey = std::tuple<QString, int, QString, QString, QString, qint64, QString>;

std::vector<TKey> JsonFindings(const std::vector<TFileReport>& Files) {
    QJsonParseError Error;
    const QJsonArray Array =
        QJsonDocument::fromJson(QByteArray::fromStdString(JsonReport(Files, false)), &Error)
            .array();
    if (Error.error != QJsonParseError::NoError)
        qFatal("JSON report does not parse: %s", qPrintable(Error.errorString()));
    std::vector<TKey> Keys;
    for (const QJsonValue& F : Array)
        for (const QJsonValue& V : F["findings"].toArray()) {
            const QJsonObject O = V.toObject();
            Keys.emplace_back(F["file"].toString(), O["item"].toInt(), O["name"].toString(),
                              O["kind"].toString(), O["severity"].toString(), O["line"].toInteger(),
                              O["message"].toString());
        }
    return Keys;
}

} // namespace

void TestCheckReport::sarifCarriesTheJsonFindings() {
    const std::vector<TFileReport> Files = Reports();
    QJsonParseError Error;
    const QJsonObject Log =
        QJsonDocument::fromJson(QByteArray::fromStdString(SarifReport(Files, "1.2.3")), &Error)
            .object();
    QCOMPARE(Error.error, QJsonParseError::NoError);
    QCOMPARE(Log["version"].toString(), QString("2.1.0"));
    const QJsonObject Run = Log["runs"].toArray()[0].toObject();
    const QJsonObject Driver = Run["tool"]["driver"].toObject();
    QCOMPARE(Driver["name"].toString(), QString("kavtool"));
    const QJsonArray Rules = Driver["rules"].toArray();
    QCOMPARE(Rules.size(), FindingKindCount);
    const QHash<QString, QString> Levels{
        {"error", "error"}, {"warning", "warning"}, {"note", "info"}};
    std::vector<TKey> Keys;
    for (const QJsonValue& V : Run["results"].toArray()) {
        const QJsonObject R = V.toObject();
        const QString RuleId = R["ruleId"].toString();
        // The rule the result points at is the rule of its kind.
        QCOMPARE(Rules[R["ruleIndex"].toInt()]["id"].toString(), RuleId);
        const QJsonObject Physical = R["locations"][0]["physicalLocation"].toObject();
        const QString Uri = Physical["artifactLocation"]["uri"].toString();
        const QUrl Url(Uri);
        const QString File = Url.isLocalFile() ? Url.toLocalFile() : Url.path();
        const QString Text = R["message"]["text"].toString();
        const qsizetype Colon = Text.indexOf(": ");
        QVERIFY2(Text.startsWith("Txt_") && Colon > 0, qPrintable(Text));
        Keys.emplace_back(File, R["properties"]["item"].toInt(), Text.mid(4, Colon - 4), RuleId,
                          Levels.value(R["level"].toString()),
                          Physical["region"]["startLine"].toInteger(), Text.mid(Colon + 2));
    }
    QCOMPARE(Keys, JsonFindings(Files));
    QCOMPARE(Keys.size(), size_t(5));
}

void TestCheckReport::junitHasATestPerItemAndAFailurePerError() {
    const std::vector<TFileReport> Files = Reports();
    QXmlStreamReader Xml(QString::fromStdString(JUnitReport(Files)));
    std::vector<TKey> Failures;
    QStringList Cases;
    QString Suite, Case;
    qint64 Line = 0;
    while (!Xml.atEnd()) {
        if (Xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto A = Xml.attributes();
        if (Xml.name() == u"testsuite") {
            Suite = A.value("name").toString();
        } else if (Xml.name() == u"testcase") {
            Case = A.value("name").toString();
            Line = A.value("line").toLongLong();
            Cases << Suite + " " + Case;
        } else if (Xml.name() == u"failure") {
            // A test case names its item; it has no item number.
            Failures.emplace_back(Suite, 0, Case.mid(4), A.value("type").toString(), "error", Line,
                                  A.value("message").toString());
        }
    }
    QVERIFY2(!Xml.hasError(), qPrintable(Xml.errorString()));
    QCOMPARE(Cases, (QStringList{"/tmp/kav check/Language/Kavr_FRA.str Txt_A",
                                 "/tmp/kav check/Language/Kavr_FRA.str Txt_B",
                                 "/tmp/kav check/Language/Kavr_FRA.str Txt_C",
                                 "Language/Kavr_DEU.str Txt_A"}));
    std::vector<TKey> Errors = JsonFindings(Files);
    std::erase_if(Errors, [](const TKey& K) { return std::get<4>(K) != "error"; });
    for (TKey& K : Errors)
        std::get<1>(K) = 0;
    QCOMPARE(Failures, Errors);
}

void TestCheckReport::exitCode_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<int>("code");
    QTest::newRow("error") << int(TFindingKind::Placeholders) << false << 1;
    QTest::newRow("warning") << int(TFindingKind::Whitespace) << false << 0;
    QTest::newRow("warning, strict") << int(TFindingKind::Whitespace) << true << 1;
    QTest::newRow("info, strict") << int(TFindingKind::Crowded) << true << 1;
    QTest::newRow("nothing, strict") << -1 << true << 0;
}

void TestCheckReport::exitCode() {
    QFETCH(int, kind);
    QFETCH(bool, strict);
    QFETCH(int, code);
    TFileReport Clean;
    Clean.Rows = {Row(1, "A", 1, {})};
    TFileReport Found = Clean;
    if (kind >= 0)
        Found.Rows[0].Findings = {Finding(TFindingKind(kind), "m")};
    QCOMPARE(CheckExitCode({Clean, Found}, strict), code);
}

QTEST_APPLESS_MAIN(TestCheckReport)
#include "tst_CheckReport.moc"
