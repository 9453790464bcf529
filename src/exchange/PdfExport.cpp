#include "exchange/PdfExport.h"

#include "document/Document.h"
#include "document/FontSubstitutes.h"
#include "document/Languages.h"
#include "document/ToolError.h"
#include "measure/CellPainting.h"
#include "measure/ItemCheck.h"
#include "measure/TableFindings.h"
#include "measure/TextMeasure.h"
#include "text/CodePage.h"

#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <optional>
#include <vector>

namespace kav {

namespace {

constexpr int Resolution = 96;
constexpr int CellPadding = 2;

QColor ToQColor(TColor Color) {
    const auto C = static_cast<std::uint32_t>(Color);
    return QColor(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF);
}

TMyFont TableFont(bool Bold = false, int Points = 8) {
    TMyFont Font;
    Font.SetName("Arial");
    Font.SetSize(Points);
    Font.SetStyle(Bold ? fsBold : 0);
    return Font;
}

QString Q(std::string_view Text) {
    return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

// The four columns across the page: item, name, English, translation.
struct TColumns {
    int Left[5];
    explicit TColumns(int Width) {
        Left[0] = 0;
        Left[1] = 44;
        Left[2] = Left[1] + Width * 24 / 100;
        Left[3] = Left[2] + Width * 30 / 100;
        Left[4] = Width;
    }
    QRect Cell(int Col, int Top, int Height) const {
        return QRect(Left[Col], Top, Left[Col + 1] - Left[Col], Height);
    }
};

class TPdfPainter {
public:
    TPdfPainter(QPdfWriter& Writer, const TDocumentState& State, const TItemTable& Items,
                const TPdfOptions& Options)
        : FWriter(Writer), FState(State), FItems(Items), FOptions(Options),
          FMeasure(TTextMeasure::Shared()),
          FArea(Writer.pageLayout().paintRectPixels(Resolution).size()), FColumns(FArea.width()),
          FCodePage(TranslatedCodePage(State)),
          // Drawn as the grid draws (the file's 96 dpi, the project's samples and faces),
          // judged at the product's display setting as the window's findings are.
          FContext{FCodePage, State.FLanguageCode, State.FProgramDir}, FJudged{FCodePage,
                                                                               State.FLanguageCode,
                                                                               State.FProgramDir,
                                                                               State.FProductDpi} {}

    int Paint() {
        Paginate();
        QPainter P(&FWriter);
        if (!P.isActive())
            return -1;
        for (size_t Page = 0; Page < FPages.size(); ++Page) {
            if (Page > 0)
                FWriter.newPage();
            PaintPage(P, static_cast<int>(Page));
        }
        return static_cast<int>(FPages.size());
    }

private:
    // The window's findings when it gives them; else the item's own at the product's setting.
    std::vector<TFinding> FindingsOf(TItemId Id, const TItemView& Item, const TCheckedRow& Drawn) {
        if (FOptions.Findings)
            return FOptions.Findings(Id);
        if (FJudged == FContext)
            return Drawn.Findings;
        return CheckItemRow(Item, FJudged, FMeasure).Findings;
    }

    int RowHeight(TItemId Id) {
        const int Item = FMeasure.LineHeight(ItemFontOf(FItems.View(Id)));
        return std::max(Item, FMeasure.LineHeight(TableFont())) + 2 * CellPadding;
    }
    int HeaderHeight() { return FMeasure.LineHeight(TableFont(true, 10)) * 2 + RowHeight(-1); }
    int FooterHeight() { return FMeasure.LineHeight(TableFont()) + 6; }

    // The first item of each page.
    void Paginate() {
        const int Room = FArea.height() - HeaderHeight() - FooterHeight();
        FPages.push_back(0);
        int Used = 0;
        for (TItemId Id = 0; Id < FItems.Count(); ++Id) {
            const int Height = RowHeight(Id);
            if (Used > 0 && Used + Height > Room) {
                FPages.push_back(Id);
                Used = 0;
            }
            Used += Height;
        }
    }

    // The glyphs the measuring face draws carry no characters a PDF reader could copy or
    // search: the same text goes under them as a text a reader finds, in a colour too faint
    // to see.
    void Searchable(QPainter& P, const QRect& Cell, const QString& Text, const TMyFont& Font) {
        P.save();
        P.setClipRect(Cell);
        QFont Face(QString::fromStdString(Font.Name()));
        Face.setPixelSize(std::max(1, FMeasure.LineHeight(Font) * 3 / 4));
        // No ligatures: "fi" stays two letters to search for.
        Face.setStyleStrategy(QFont::PreferNoShaping);
        P.setFont(Face);
        P.setPen(QColor(255, 255, 255, 1));
        P.drawText(Cell.adjusted(CellPadding, CellPadding, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   Text);
        P.restore();
    }

    void Text(QPainter& P, const QRect& Cell, const QString& Text, const TMyFont& Font) {
        Searchable(P, Cell, Text, Font);
        P.save();
        P.setClipRect(Cell);
        FMeasure.Draw(P, Cell.left() + CellPadding, Cell.top() + CellPadding, Text, Font,
                      Qt::black);
        P.restore();
    }

    void PaintPage(QPainter& P, int Page) {
        const TMyFont Title = TableFont(true, 10);
        std::string Caption = FileNamePart(FState.FFileName);
        if (!FOptions.LanguageEntry.empty())
            Caption += " - " + FOptions.LanguageEntry;
        Text(P, QRect(0, 0, FArea.width(), FMeasure.LineHeight(Title) + 4), Q(Caption), Title);
        int Top = FMeasure.LineHeight(Title) * 2;
        const int Heading = RowHeight(-1);
        const TMyFont Bold = TableFont(true);
        const QString Headings[4] = {QStringLiteral("Item"), QStringLiteral("Name"),
                                     QStringLiteral("English"), QStringLiteral("Translation")};
        for (int Col = 0; Col < 4; ++Col) {
            const QRect Cell = FColumns.Cell(Col, Top, Heading);
            P.fillRect(Cell, QColor(0xF0, 0xF0, 0xF0));
            Text(P, Cell, Headings[Col], Bold);
        }
        Top += Heading;
        const TItemId Last = Page + 1 < static_cast<int>(FPages.size())
                                 ? FPages[static_cast<size_t>(Page) + 1]
                                 : FItems.Count();
        for (TItemId Id = FPages[static_cast<size_t>(Page)]; Id < Last; ++Id) {
            const int Height = RowHeight(Id);
            PaintRow(P, Id, Top, Height);
            Top += Height;
        }
        const QString Footer = QStringLiteral("Page %1 of %2").arg(Page + 1).arg(FPages.size());
        const TMyFont Plain = TableFont();
        const int Width = FMeasure.Width(Footer, Plain);
        Text(P,
             QRect(FArea.width() - Width - 2 * CellPadding, FArea.height() - FooterHeight(),
                   Width + 2 * CellPadding, FooterHeight()),
             Footer, Plain);
    }

    void PaintRow(QPainter& P, TItemId Id, int Top, int Height) {
        const TItemView Item = FItems.View(Id);
        const TMyFont Plain = TableFont();
        const TColor Mark = FItems.Colour(Id);
        if (Mark != clWhite && !IsSystemColor(Mark))
            P.fillRect(FColumns.Cell(0, Top, Height), ToQColor(Mark));
        Text(P, FColumns.Cell(0, Top, Height), Q(Item.Number), Plain);
        Text(P, FColumns.Cell(1, Top, Height), Q(ConstantNameOf(FItems, Id)), Plain);
        Text(P, FColumns.Cell(2, Top, Height), DecodeBytes(Item.Default, SystemAnsiCodePage()),
             Plain);

        // The translation as the grid shows it, by the grid's own cell painting.
        const QRect Cell = FColumns.Cell(3, Top, Height);
        const TCheckedRow Checked = CheckItemRow(Item, FContext, FMeasure);
        const std::optional<TColor> Back = TranslatedCellColour(Item);
        P.fillRect(Cell, ToQColor(Back ? *Back : clWhite));
        const TMyFont Font = LinkedFontOf(ItemFontOf(Item), &ProjectSubstitutes(FState.FProgramDir),
                                          FState.FLanguageCode);
        Searchable(P, Cell, Checked.Item.Text, Font);
        PaintTranslatedCell(P, FMeasure,
                            {Cell, Checked.Item.Text, Font, Qt::black, Checked.Item,
                             ToQColor(FOptions.HighlightBack), ToQColor(FOptions.HighlightText),
                             CellMarkerOf(FindingsOf(Id, Item, Checked))});

        P.save();
        P.setPen(QColor(0xC0, 0xC0, 0xC0));
        P.drawLine(0, Top + Height - 1, FArea.width() - 1, Top + Height - 1);
        for (int Col = 1; Col < 4; ++Col)
            P.drawLine(FColumns.Left[Col], Top, FColumns.Left[Col], Top + Height - 1);
        P.restore();
    }

    QPdfWriter& FWriter;
    const TDocumentState& FState;
    const TItemTable& FItems;
    const TPdfOptions& FOptions;
    TTextMeasure& FMeasure;
    QSize FArea;
    TColumns FColumns;
    int FCodePage;
    TFindingContext FContext;
    TFindingContext FJudged;
    std::vector<TItemId> FPages;
};

} // namespace

QPageSize::PageSizeId LocalePageSize() {
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                      : QPageSize::A4;
}

std::string PdfNameOf(const TDocumentState& State) {
    return ExchangeNameOf(State, ".pdf");
}

int ExportPdfFile(const std::string& Path, const TDocumentState& State, const TItemTable& Items,
                  const TPdfOptions& Options) {
    // Written aside and renamed over Path: a failed export leaves no half-written PDF.
    const std::string Part = Path + ".part";
    int Pages = -1;
    {
        QPdfWriter Writer(QString::fromStdString(Part));
        Writer.setResolution(Resolution);
        Writer.setPageSize(QPageSize(Options.Page));
        Writer.setPageOrientation(QPageLayout::Landscape);
        Writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        Writer.setTitle(QString::fromStdString(FileNamePart(State.FFileName)));
        Writer.setCreator(QStringLiteral("Kavrino Translation Tool"));
        Pages = TPdfPainter(Writer, State, Items, Options).Paint();
    }
    if (Pages < 0) {
        QFile::remove(QString::fromStdString(Part));
        throw ToolError("Cannot write " + Path);
    }
    QFile::remove(QString::fromStdString(Path));
    if (!QFile::rename(QString::fromStdString(Part), QString::fromStdString(Path)))
        throw ToolError("Cannot write " + Path);
    return Pages;
}

void AskAndExportPdf(const TDocument& Doc, UserInterface& UI, const TPdfOptions& Options) {
    const std::optional<std::string> Path =
        UI.SaveDialog(Doc.State().FProgramDir, PdfFilter, PdfNameOf(Doc.State()));
    if (!Path)
        return;
    int Pages = 0;
    {
        TPleaseWait Wait(UI, "Writing " + FileNamePart(*Path));
        Pages = ExportPdfFile(*Path, Doc.State(), Doc.Items(), Options);
    }
    UI.MessageDlg("Wrote " + *Path + " (" + std::to_string(Pages) + " pages).",
                  TMsgDlgType::mtInformation, mbOK);
}

} // namespace kav
