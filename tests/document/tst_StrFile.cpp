#include "document/IoStatus.h"
#include "document/StrFile.h"

#include "Bytes.h"
#include "EndedProcess.h"

#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace kav;

namespace {

QByteArray ReadAll(const QString& Path) {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

void WriteBytes(const QString& Path, const QByteArray& Bytes) {
    QFile F(Path);
    QVERIFY(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(F.write(Bytes), Bytes.size());
}

QList<QByteArray> ReadLines(const QString& Path, int CodePage = 1252) {
    QList<QByteArray> Lines;
    StrLineReader Reader(CodePage);
    if (Reader.Open(Path.toStdString()) != 0)
        return {"<open failed>"};
    std::string Line;
    while (Reader.ReadLine(Line))
        Lines << B(Line);
    return Lines;
}

QStringList TempEntries(const QString& Dir) {
    return QDir(Dir).entryList(QStringList{"*.kavtmp.*"}, QDir::Files | QDir::Hidden);
}

std::vector<StrWriteItem> GoldenMainItems() {
    return {{"FILE_OPEN", "Fichier", 16777215},
            {"BTN_CANCEL", "Annuler l\x92op\xe9ration", 65535},
            {"", "skipped: no name", 255},
            {"EMPTY_TEXT", "", -1}};
}

} // namespace

class TestStrFile : public QObject {
    Q_OBJECT
private slots:
    void lineEnds_data();
    void lineEnds();
    void longLineAcrossBlocks();
    void doubleByteTrailIsNoDelimiter();
    void itemLine_data();
    void itemLine();
    void itemLineRecognition_data();
    void itemLineRecognition();
    void colorField_data();
    void colorField();
    void nameField_data();
    void nameField();
    void goldenFiles_data();
    void goldenFiles();
    void roundTripCodePages();
    void refusesUnwritableItems_data();
    void refusesUnwritableItems();
    void ioMessages_data();
    void ioMessages();
    void errnoMapping_data();
    void errnoMapping();
    void openFailures();
    void diskFullKeepsOldFile();
    void overlongLines_data();
    void overlongLines();
    void staleTempFiles_data();
    void staleTempFiles();

private:
    QTemporaryDir FDir;
};

void TestStrFile::lineEnds_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("LF") << QByteArray("a\nb\n") << QList<QByteArray>{"a", "b"};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QList<QByteArray>{"a", "b"};
    QTest::newRow("lone CR stays") << QByteArray("a\rb\r\n") << QList<QByteArray>{"a\rb"};
    QTest::newRow("CR at end of file") << QByteArray("a\r") << QList<QByteArray>{"a\r"};
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << QList<QByteArray>{"a", "b"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\nx\r\n") << QList<QByteArray>{"", "", "x"};
    QTest::newRow("Ctrl+Z ends") << QByteArray("a\r\n\x1a"
                                               "b\r\n")
                                 << QList<QByteArray>{"a"};
    QTest::newRow("Ctrl+Z mid line") << QByteArray("ab\x1a"
                                                   "cd")
                                     << QList<QByteArray>{"ab"};
    QTest::newRow("empty file") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("no item lines") << QByteArray("#include \"x\"\r\n\r\n// c\r\n")
                                   << QList<QByteArray>{"#include \"x\"", "", "// c"};
    QTest::newRow("NUL kept") << QByteArray("a\0b\n", 4)
                              << QList<QByteArray>{QByteArray("a\0b", 3)};
}

void TestStrFile::lineEnds() {
    QFETCH(QByteArray, data);
    QFETCH(QList<QByteArray>, lines);
    QString Path = FDir.filePath("lines.str");
    WriteBytes(Path, data);
    QCOMPARE(ReadLines(Path), lines);
    QList<QByteArray> Split;
    for (const auto& Line : SplitStrLines(S(data), 1252))
        Split << B(Line);
    QCOMPARE(Split, lines);
}

void TestStrFile::longLineAcrossBlocks() {
    QByteArray Long(1 << 20, 'x');
    Long[70000] = '\r'; // a lone CR deep inside stays part of the line
    QString Path = FDir.filePath("long.str");
    WriteBytes(Path, "first\r\n" + Long + "\r\nlast");
    QList<QByteArray> Lines = ReadLines(Path);
    QCOMPARE(Lines.size(), 3);
    QCOMPARE(Lines[0], QByteArray("first"));
    QCOMPARE(Lines[1], Long);
    QCOMPARE(Lines[2], QByteArray("last"));
}

void TestStrFile::doubleByteTrailIsNoDelimiter() {
    // In code page 932 the byte after a lead byte belongs to the character, even when it has
    // the value of a line feed; place one such pair across the reader's block boundary.
    QByteArray Data(65535, 'a');
    Data += "\x81\n";
    Data += "b\r\nc";
    QString Path = FDir.filePath("dbcs.str");
    WriteBytes(Path, Data);
    QList<QByteArray> Lines = ReadLines(Path, 932);
    QCOMPARE(Lines.size(), 2);
    QCOMPARE(Lines[0], QByteArray(65535, 'a') + "\x81\nb");
    QCOMPARE(Lines[1], QByteArray("c"));
    QCOMPARE(ReadLines(Path, 1252).size(), 3);

    // A trail byte equal to "_" or "}" is not a field delimiter either.
    StrItemLine Item = ParseItemLine("Txt_A\x81_B \"\x83}x\" {1}", 1, 932);
    QCOMPARE(B(Item.Name), QByteArray("A\x81_B"));
    QCOMPARE(B(Item.Text), QByteArray("\x83}x"));
    QCOMPARE(B(Item.Attributes[0]), QByteArray("1"));
}

void TestStrFile::itemLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("attributes");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("fields");
    QTest::newRow("translated") << QByteArray("Txt_A , \"x\"") << 1 << QByteArray("A")
                                << QByteArray("x") << QList<QByteArray>{""};
    QTest::newRow("translated with mark")
        << QByteArray("Txt_A , \"x\" {255}") << 1 << QByteArray("A") << QByteArray("x")
        << QList<QByteArray>{"255"};
    QTest::newRow("default four fields")
        << QByteArray("Txt_A , \"x\" {200} {} {Bold} {10}") << 4 << QByteArray("A")
        << QByteArray("x") << QList<QByteArray>{"200", "", "Bold", "10"};
    QTest::newRow("default two fields")
        << QByteArray("Txt_A \"x\" {200} {Arial}") << 4 << QByteArray("A") << QByteArray("x")
        << QList<QByteArray>{"200", "Arial", "", ""};
    QTest::newRow("comment line counts") << QByteArray("//Txt_A , \"x\"") << 1 << QByteArray("A")
                                         << QByteArray("x") << QList<QByteArray>{""};
    QTest::newRow("no blank after name")
        << QByteArray("Txt_ABC") << 1 << QByteArray("AB") << QByteArray() << QList<QByteArray>{""};
    QTest::newRow("blanks in text") << QByteArray("Txt_A , \" a  b \" {1}") << 1 << QByteArray("A")
                                    << QByteArray(" a  b ") << QList<QByteArray>{"1"};
    QTest::newRow("closing quote missing") << QByteArray("Txt_A , \"abc") << 1 << QByteArray("A")
                                           << QByteArray("ab") << QList<QByteArray>{""};
    QTest::newRow("no text, fields lost")
        << QByteArray("Txt_A {5}") << 1 << QByteArray("A") << QByteArray() << QList<QByteArray>{""};
    QTest::newRow("underscores in name")
        << QByteArray("  Txt_MENU_FILE_OPEN \"t\"") << 1 << QByteArray("MENU_FILE_OPEN")
        << QByteArray("t") << QList<QByteArray>{""};
    QTest::newRow("first Txt_ only") << QByteArray("Txt_A \"Txt_B\"") << 1 << QByteArray("A")
                                     << QByteArray("Txt_B") << QList<QByteArray>{""};
    QTest::newRow("brace in text") << QByteArray("Txt_A \"{7}\" {8}") << 1 << QByteArray("A")
                                   << QByteArray("{7}") << QList<QByteArray>{"8"};
    QTest::newRow("Txt_ at end") << QByteArray("x Txt_") << 1 << QByteArray() << QByteArray()
                                 << QList<QByteArray>{""};
}

void TestStrFile::itemLine() {
    QFETCH(QByteArray, line);
    QFETCH(int, attributes);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, fields);
    StrItemLine Item = ParseItemLine(S(line), attributes, 1252);
    QCOMPARE(B(Item.Name), name);
    QCOMPARE(B(Item.Text), text);
    QList<QByteArray> Got;
    for (const auto& Field : Item.Attributes)
        Got << B(Field);
    QCOMPARE(Got, fields);
}

void TestStrFile::itemLineRecognition_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("item");
    QTest::newRow("include") << QByteArray("#include \"KavLang.Inc\"") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("lower case") << QByteArray("txt_A \"x\"") << false;
    QTest::newRow("anywhere") << QByteArray("// see Txt_A") << true;
}

void TestStrFile::itemLineRecognition() {
    QFETCH(QByteArray, line);
    QFETCH(bool, item);
    QCOMPARE(IsItemLine(S(line), 1252), item);
}

void TestStrFile::colorField_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("color");
    QTest::newRow("empty is white") << QByteArray() << true << 16777215;
    QTest::newRow("red") << QByteArray("255") << true << 255;
    QTest::newRow("negative") << QByteArray("-16777201") << true << -16777201;
    QTest::newRow("leading blanks") << QByteArray("  12") << true << 12;
    QTest::newRow("hex dollar") << QByteArray("$FF") << true << 255;
    QTest::newRow("trailing blank") << QByteArray("12 ") << false << 0;
    QTest::newRow("word") << QByteArray("red") << false << 0;
    QTest::newRow("too big") << QByteArray("2147483648") << false << 0;
    QTest::newRow("40 digits") << QByteArray(40, '9') << false << 0;
    QTest::newRow("only sign") << QByteArray("-") << false << 0;
}

void TestStrFile::colorField() {
    QFETCH(QByteArray, field);
    QFETCH(bool, ok);
    QFETCH(int, color);
    int32_t Color = 7;
    QCOMPARE(ParseColorField(S(field), Color), ok);
    if (ok)
        QCOMPARE(Color, color);
}

void TestStrFile::nameField_data() {
    QTest::addColumn<int>("nameLength");
    QTest::addColumn<int>("readBack");
    QTest::newRow("short") << 9 << 9;
    QTest::newRow("66 fills the field") << 66 << 66;
    QTest::newRow("67 is written whole") << 67 << 67;
    QTest::newRow("100 is written whole") << 100 << 100;
}

void TestStrFile::nameField() {
    QFETCH(int, nameLength);
    QFETCH(int, readBack);
    std::string Name(static_cast<size_t>(nameLength), 'N');
    std::string Line = FormatItemLine(Name, "Text", 16777215);
    // The text starts in column 75 (counting from 1), or right after a name too long for the
    // field, which is written without padding.
    const size_t Field = std::max<size_t>(70, 4 + Name.size());
    QCOMPARE(Line.substr(Field, 4), std::string(" , \""));
    QCOMPARE(Line.substr(Field + 4, 4), std::string("Text"));
    StrItemLine Item = ParseItemLine(Line, 1, 1252);
    QCOMPARE(static_cast<int>(Item.Name.size()), readBack);
    QCOMPARE(Item.Text, std::string("Text"));
    QVERIFY(UnwritableItems({{Name, "Text", 0}}).empty());
}

void TestStrFile::goldenFiles_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("golden");
    QTest::newRow("main") << int(fkMain) << "golden_main_Kavr_FRA.str";
    QTest::newRow("user") << int(fkUser) << "golden_user_Kavr_User_RUS.str";
}

void TestStrFile::goldenFiles() {
    QFETCH(int, kind);
    QFETCH(QString, golden);
    std::vector<StrWriteItem> Items = GoldenMainItems();
    const std::string LongName(66, 'A');
    if (kind == fkUser)
        Items = {{"MENU_FILE", "\xd4\xe0\xe9\xeb", 16777215},
                 {LongName, "\xc4\xe5\xdf\xe3\xec\xe1", 255}};
    QByteArray Expected = ReadAll(QStringLiteral(KAV_TEST_DATA "/str/") + golden);
    QVERIFY(!Expected.isEmpty());
    QString Target = FDir.filePath(golden.section('_', 2));
    StrWriteResult Result = WriteStrFile(Target.toStdString(), StrFileKind(kind), Items);
    QVERIFY2(Result.Ok, Result.Message.c_str());
    QCOMPARE(ReadAll(Target), Expected);
    QVERIFY(TempEntries(FDir.path()).isEmpty());
    // 4 header lines plus one per named item.
    qsizetype Named = std::count_if(Items.begin(), Items.end(),
                                    [](const StrWriteItem& I) { return !I.Name.empty(); });
    QCOMPARE(ReadLines(Target).size(), 4 + Named);
}

void TestStrFile::roundTripCodePages() {
    // Bytes of windows-1251 and windows-1253 texts come back unchanged.
    std::vector<StrWriteItem> Items{{"CYR", "\xcf\xf0\xe8\xe2\xe5\xf2 \xec\xe8\xf0", 16777215},
                                    {"GRK", "\xca\xe1\xeb\xe7\xec\xdd\xf1\xe1", 65535},
                                    {"HIGH", "\x80\x81\x98\xff", 0}};
    QString Path = FDir.filePath("Kavr_RUS.str");
    QVERIFY(WriteStrFile(Path.toStdString(), fkMain, Items).Ok);
    StrLineReader Reader(1252);
    QCOMPARE(Reader.Open(Path.toStdString()), 0);
    std::string Line;
    size_t Index = 0;
    while (Reader.ReadLine(Line)) {
        if (!IsItemLine(Line, 1252))
            continue;
        StrItemLine Item = ParseItemLine(Line, 1, 1252);
        QVERIFY(Index < Items.size());
        QCOMPARE(Item.Name, Items[Index].Name);
        QCOMPARE(B(Item.Text), B(std::string(Items[Index].Text)));
        int32_t Color = 0;
        QVERIFY(ParseColorField(Item.Attributes[0], Color));
        QCOMPARE(Color, Items[Index].Color);
        ++Index;
    }
    QCOMPARE(Index, Items.size());
    QCOMPARE(Reader.Close(), 0);
}

void TestStrFile::refusesUnwritableItems_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("quote") << QByteArray("Q") << QByteArray("say \"hi\"");
    QTest::newRow("CR") << QByteArray("Q") << QByteArray("a\rb");
    QTest::newRow("LF") << QByteArray("Q") << QByteArray("a\nb");
    QTest::newRow("Ctrl+Z") << QByteArray("Q") << QByteArray("a\x1a");
    QTest::newRow("blank in name") << QByteArray("Q R") << QByteArray("x");
    QTest::newRow("NUL") << QByteArray("Q") << QByteArray("a\0b", 3);
}

void TestStrFile::refusesUnwritableItems() {
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, text);
    QString Path = FDir.filePath("Kavr_DEU.str");
    WriteBytes(Path, "previous contents\r\n");
    const std::string Name = S(name), Text = S(text);
    std::vector<StrWriteItem> Items{{"OK_ITEM", "fine", 0}, {Name, Text, 0}};
    StrWriteResult Result = WriteStrFile(Path.toStdString(), fkMain, Items);
    QVERIFY(!Result.Ok);
    QVERIFY2(B(Result.Message).contains("Txt_" + name), Result.Message.c_str());
    QVERIFY(B(Result.Message).contains(Path.toUtf8()));
    QVERIFY(!B(Result.Message).contains("OK_ITEM"));
    QCOMPARE(ReadAll(Path), QByteArray("previous contents\r\n"));
    QVERIFY(TempEntries(FDir.path()).isEmpty());
}

void TestStrFile::ioMessages_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("2") << 2 << QByteArray("File not found: /p/f.str");
    QTest::newRow("3") << 3 << QByteArray("Invalid file name: /p/f.str");
    QTest::newRow("4") << 4 << QByteArray("Too many open files: /p/f.str");
    QTest::newRow("5") << 5 << QByteArray("File access denied: /p/f.str");
    QTest::newRow("100") << 100 << QByteArray("End of file : /p/f.str");
    QTest::newRow("101") << 101 << QByteArray("Disk Full: /p/f.str");
    QTest::newRow("103") << 103 << QByteArray("I/O Error: /p/f.str");
    QTest::newRow("106") << 106 << QByteArray("Invalid Input: /p/f.str");
    QTest::newRow("other") << 7 << QByteArray();
    QTest::newRow("ok") << 0 << QByteArray();
}

void TestStrFile::ioMessages() {
    QFETCH(int, code);
    QFETCH(QByteArray, message);
    QCOMPARE(B(IoStatusMessage(code, "/p/f.str")), message);
    QCOMPARE(FileAccessErrorMessage("/p/f.str"), std::string("File access error: /p/f.str"));
}

void TestStrFile::errnoMapping_data() {
    QTest::addColumn<int>("err");
    QTest::addColumn<int>("code");
    QTest::newRow("ENOENT") << ENOENT << 2;
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << 3;
    QTest::newRow("EINVAL") << EINVAL << 3;
    QTest::newRow("ENOTDIR") << ENOTDIR << 3;
    QTest::newRow("EMFILE") << EMFILE << 4;
    QTest::newRow("ENFILE") << ENFILE << 4;
    QTest::newRow("EACCES") << EACCES << 5;
    QTest::newRow("EPERM") << EPERM << 5;
    QTest::newRow("EROFS") << EROFS << 5;
    QTest::newRow("ENOSPC") << ENOSPC << 101;
    QTest::newRow("EDQUOT") << EDQUOT << 101;
    QTest::newRow("EFBIG") << EFBIG << 101;
    QTest::newRow("EIO") << EIO << 103;
    QTest::newRow("unknown still reported") << EPROTO << 103;
}

void TestStrFile::errnoMapping() {
    QFETCH(int, err);
    QFETCH(int, code);
    QCOMPARE(IoStatusFromErrno(err), code);
}

void TestStrFile::openFailures() {
    StrLineReader Reader;
    QCOMPARE(Reader.Open(FDir.filePath("missing.str").toStdString()), int(ioFileNotFound));
    QCOMPARE(Reader.Open(FDir.path().toStdString()), int(ioAccessDenied));
    std::string Line;
    QVERIFY(!Reader.ReadLine(Line));
    StrWriteResult Result =
        WriteStrFile(FDir.filePath("no/such/folder/Kavr_FRA.str").toStdString(), fkMain, {});
    QVERIFY(!Result.Ok);
    QCOMPARE(B(Result.Message),
             "File not found: " + FDir.filePath("no/such/folder/Kavr_FRA.str").toUtf8());
}

void TestStrFile::diskFullKeepsOldFile() {
    // A file-size limit makes writes fail as on a full disk; the previous file must survive.
    QString Path = FDir.filePath("Kavr_ITA.str");
    QByteArray Old = "old file\r\n";
    WriteBytes(Path, Old);
    const std::string Text(200, 'x');
    std::vector<StrWriteItem> Items(200, StrWriteItem{"ITEM", Text, 0});
    struct rlimit Saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &Saved), 0);
    struct rlimit Small = Saved;
    Small.rlim_cur = 4096;
    auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &Small), 0);
    StrWriteResult Result = WriteStrFile(Path.toStdString(), fkMain, Items);
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);
    QVERIFY(!Result.Ok);
    QCOMPARE(B(Result.Message), "Disk Full: " + Path.toUtf8());
    QCOMPARE(ReadAll(Path), Old);
    QVERIFY(TempEntries(FDir.path()).isEmpty());
}

void TestStrFile::overlongLines_data() {
    QTest::addColumn<QByteArray>("before"); // lines ahead of the long one
    QTest::addColumn<qint64>("length");     // of the long line, without its end
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<int>("linesRead");
    QTest::addColumn<int>("failedLine"); // 0: read to the end
    const auto Max = static_cast<qint64>(MaxStrLineLength);
    QTest::newRow("longest line, CR LF") << QByteArray() << Max << QByteArray("\r\n") << 2 << 0;
    QTest::newRow("longest line, LF") << QByteArray() << Max << QByteArray("\n") << 2 << 0;
    QTest::newRow("longest line, Ctrl+Z") << QByteArray() << Max << QByteArray("\x1a") << 1 << 0;
    QTest::newRow("one byte more") << QByteArray() << Max + 1 << QByteArray("\r\n") << 0 << 1;
    QTest::newRow("one byte more, CR LF")
        << QByteArray("a\r\n") << Max + 1 << QByteArray("\r\n") << 1 << 2;
    QTest::newRow("after two lines") << QByteArray("a\r\nb\n") << Max + 1 << QByteArray() << 2 << 3;
    QTest::newRow("far longer") << QByteArray("a\n") << 3 * Max << QByteArray("\n") << 1 << 2;
}

void TestStrFile::overlongLines() {
    QFETCH(QByteArray, before);
    QFETCH(qint64, length);
    QFETCH(QByteArray, end);
    QFETCH(int, linesRead);
    QFETCH(int, failedLine);
    const QString Path = FDir.filePath("long.str");
    WriteBytes(Path, before + QByteArray(length, 'x') + end + "last\r\n");
    StrLineReader Reader;
    QCOMPARE(Reader.Open(Path.toStdString()), 0);
    std::string Line;
    int Read = 0;
    while (Reader.ReadLine(Line)) {
        QVERIFY(Line.size() <= MaxStrLineLength);
        ++Read;
    }
    QCOMPARE(Read, linesRead);
    if (failedLine == 0) {
        QCOMPARE(Reader.Problem(), StrReadProblem::None);
        QCOMPARE(Reader.FailureMessage(Path.toStdString()), std::string());
        QCOMPARE(Reader.Close(), 0);
        return;
    }
    QCOMPARE(Reader.Problem(), StrReadProblem::LineTooLong);
    QCOMPARE(Reader.Status(), int(ioInvalidInput));
    QCOMPARE(QString::fromStdString(Reader.FailureMessage(Path.toStdString())),
             QString("The line is longer than 4194304 bytes: this is not a language file\n"
                     "in %1, line %2")
                 .arg(Path)
                 .arg(failedLine));
    QVERIFY(Reader.Close() != 0);
}

void TestStrFile::staleTempFiles_data() {
    QTest::addColumn<QString>("name"); // %d a process that has ended, %r one that runs
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("removed");
    QTest::newRow("writer ended") << ".Kavr_FRA.str.kavtmp.%d.Ab12Cd" << false << true;
    QTest::newRow("writer runs") << ".Kavr_FRA.str.kavtmp.%r.Ab12Cd" << false << false;
    QTest::newRow("this process") << ".Kavr_FRA.str.kavtmp.%s.Ab12Cd" << false << false;
    QTest::newRow("a folder") << ".Kavr_FRA.str.kavtmp.%d.Ab12Cd" << true << false;
    QTest::newRow("no leading dot") << "Kavr_FRA.str.kavtmp.%d.Ab12Cd" << false << false;
    QTest::newRow("no process id") << ".Kavr_FRA.str.kavtmp.Ab12Cd" << false << false;
    QTest::newRow("id not a number") << ".Kavr_FRA.str.kavtmp.12x.Ab12Cd" << false << false;
    QTest::newRow("random part short") << ".Kavr_FRA.str.kavtmp.%d.Ab12C" << false << false;
    QTest::newRow("random part long") << ".Kavr_FRA.str.kavtmp.%d.Ab12Cde" << false << false;
    QTest::newRow("resource writer") << "Kavrino.rc.kavtmp.%d" << false << false;
}

void TestStrFile::staleTempFiles() {
    QFETCH(QString, name);
    QFETCH(bool, folder);
    QFETCH(bool, removed);
    QTemporaryDir Dir;
    name.replace("%d", QString::number(EndedProcess()))
        .replace("%r", QString::number(getppid()))
        .replace("%s", QString::number(getpid()));
    const QString Path = Dir.filePath(name);
    if (folder)
        QVERIFY(QDir().mkpath(Path));
    else
        WriteBytes(Path, "half a file");
    WriteBytes(Dir.filePath("Kavr_FRA.str"), "the file");
    QCOMPARE(RemoveStaleTempFiles(Dir.path().toStdString() + "/"), removed ? 1 : 0);
    QCOMPARE(QFileInfo::exists(Path), !removed);
    QCOMPARE(ReadAll(Dir.filePath("Kavr_FRA.str")), QByteArray("the file"));
    // The writer's own temporary name has the form the cleaning recognises.
    const std::string Prefix = TempFilePrefix(Dir.filePath("Kavr_FRA.str").toStdString());
    QCOMPARE(QString::fromStdString(Prefix),
             Dir.filePath(".Kavr_FRA.str.kavtmp." + QString::number(getpid()) + "."));
}

QTEST_GUILESS_MAIN(TestStrFile)
#include "tst_StrFile.moc"
