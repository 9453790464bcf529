#include "gridview/GridClipboard.h"

#include "text/CodePage.h"

#include <QMimeData>

#include <algorithm>
#include <climits>
#include <vector>

namespace kav {

namespace {

struct TField {
    int Col;
    int Row;
    std::string Bytes;
};

// Lines as the byte reader splits them: a break at the very end starts no further line.
QStringList PastedLines(const QString& Text) {
    QStringList Lines;
    QString Current;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        const QChar C = Text[I];
        if (C != QLatin1Char('\r') && C != QLatin1Char('\n')) {
            Current += C;
            continue;
        }
        Lines << Current;
        Current.clear();
        if (C == QLatin1Char('\r') && I + 1 < Text.size() && Text[I + 1] == QLatin1Char('\n')) {
            ++I;
        }
    }
    if (!Current.isEmpty()) {
        Lines << Current;
    }
    return Lines;
}

// Encodes every field for its target cell first, so that a refused character leaves the grid
// untouched. Columns and rows are numbered as TextToCells numbers them.
QString EncodeFields(const QStringList& Lines, QChar Separator, TGridRect Rect,
                     const TCodePageOf& CodePageOf, std::vector<TField>& Fields) {
    for (qsizetype I = 0; I < Lines.size(); ++I) {
        const long long Row = static_cast<long long>(Rect.Top) + I;
        if (Row > Rect.Bottom) {
            break;
        }
        const QString Rest = Lines[I] + Separator;
        qsizetype Pos = 0;
        for (long long Col = Rect.Left; Col <= Rect.Right && Rest.size() - Pos > 1; ++Col) {
            const qsizetype Sep = Rest.indexOf(Separator, Pos);
            const int Page = CodePageOf(static_cast<int>(Col), static_cast<int>(Row));
            const EncodeResult Encoded = EncodeText(Rest.mid(Pos, Sep - Pos), Page);
            if (!Encoded.Ok()) {
                return UnrepresentableMessage(Encoded, Page);
            }
            Fields.push_back({static_cast<int>(Col), static_cast<int>(Row), *Encoded.Bytes});
            Pos = Sep + 1;
        }
        Fields.push_back({-1, static_cast<int>(Row), {}});
    }
    return {};
}

void StoreFields(TStyledGridModel& Grid, const std::vector<TField>& Fields) {
    for (const TField& Field : Fields) {
        while (Grid.RowCount() <= Field.Row) {
            Grid.SetRowCount(Grid.RowCount() + 1);
        }
        if (Field.Col < 0) {
            continue;
        }
        while (Grid.ColCount() <= Field.Col) {
            Grid.SetColCount(Grid.ColCount() + 1);
        }
        Grid.SetCells(Field.Col, Field.Row, Field.Bytes);
    }
}

} // namespace

std::unique_ptr<QMimeData> CellsToMimeData(const TStyledGridModel& Grid, char Separator,
                                           TGridRect Rect, const TCodePageOf& CodePageOf) {
    std::string Bytes = CellsToText(Grid, Separator, Rect);
    Bytes += '\0';
    const TGridRect Block = NormalisedBlock(Grid, Rect);
    QString Text;
    for (int Row = Block.Top; Row <= Block.Bottom; ++Row) {
        for (int Col = Block.Left; Col <= Block.Right; ++Col) {
            Text += DecodeBytes(Grid.Cells(Col, Row), CodePageOf(Col, Row));
            Text += QLatin1Char(Separator);
        }
        Text += QStringLiteral("\r\n");
    }
    auto Data = std::make_unique<QMimeData>();
    Data->setData(RawCellsMimeType, QByteArray(Bytes.data(), static_cast<qsizetype>(Bytes.size())));
    Data->setText(Text);
    return Data;
}

QString MimeDataToCells(TStyledGridModel& Grid, const QMimeData& Data, char Separator,
                        TGridRect Rect, const TCodePageOf& CodePageOf) {
    if (Data.hasFormat(RawCellsMimeType)) {
        const QByteArray Raw = Data.data(RawCellsMimeType);
        // The last byte is the block's terminating zero.
        const auto Size = static_cast<size_t>(std::max<qsizetype>(0, Raw.size() - 1));
        TextToCells(Grid, std::string_view(Raw.constData(), Size), Separator, Rect);
        return {};
    }
    if (!Data.hasText()) {
        return {};
    }
    Rect.Left = std::max(Rect.Left, 0);
    Rect.Top = std::max(Rect.Top, 0);
    Rect.Bottom = Rect.Bottom < Rect.Top ? INT_MAX : Rect.Bottom;
    Rect.Right = Rect.Right < Rect.Left ? INT_MAX : Rect.Right;
    std::vector<TField> Fields;
    const QString Refusal =
        EncodeFields(PastedLines(Data.text()), QLatin1Char(Separator), Rect, CodePageOf, Fields);
    if (Refusal.isEmpty()) {
        StoreFields(Grid, Fields);
    }
    return Refusal;
}

} // namespace kav
