#include "widgets/SuggestionsDock.h"

#include <QLabel>
#include <QScrollArea>

namespace kav {

// The highlight of the words that differ: the colours of a text marker, readable in light and
// dark palettes.
constexpr const char* ChangedStyle = "background-color:#ffd966;color:#000000";

QString HighlightedHtml(const QString& Text,
                        const std::vector<std::pair<qsizetype, qsizetype>>& Changed) {
    QString Html;
    qsizetype At = 0;
    for (const auto& [Start, Length] : Changed) {
        Html += Text.mid(At, Start - At).toHtmlEscaped();
        Html += QString("<span style=\"%1\">%2</span>")
                    .arg(QLatin1String(ChangedStyle), Text.mid(Start, Length).toHtmlEscaped());
        At = Start + Length;
    }
    return Html + Text.mid(At).toHtmlEscaped();
}

TSuggestionsDock::TSuggestionsDock(QWidget* Parent) : QDockWidget("Suggestions", Parent) {
    setObjectName("SuggestionsDock");
    auto* Scroll = new QScrollArea(this);
    Scroll->setWidgetResizable(true);
    FText = new QLabel(Scroll);
    FText->setObjectName("SuggestionsText");
    FText->setTextFormat(Qt::RichText);
    FText->setWordWrap(true);
    FText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FText->setMargin(4);
    // The grid keeps the keyboard: the panel is read, its suggestions taken with Ctrl+1 ...
    FText->setFocusPolicy(Qt::NoFocus);
    Scroll->setWidget(FText);
    setWidget(Scroll);
    setMinimumWidth(220);
}

void TSuggestionsDock::ShowSuggestions(const std::vector<TSuggestionView>& Suggestions,
                                       const QString& None) {
    if (Suggestions.empty()) {
        FText->setText("<i>" + None.toHtmlEscaped() + "</i>");
        return;
    }
    QString Html;
    for (size_t I = 0; I < Suggestions.size(); ++I) {
        const TSuggestionView& S = Suggestions[I];
        Html += QString("<p><b>Ctrl+%1</b> &nbsp; %2 % &nbsp; <small>%3</small><br>%4<br>"
                        "<b>%5</b></p>")
                    .arg(I + 1)
                    .arg(S.Score)
                    .arg(S.Origin.toHtmlEscaped(), HighlightedHtml(S.English, S.Changed),
                         S.Translation.toHtmlEscaped());
    }
    FText->setText(Html);
}

QString TSuggestionsDock::Html() const {
    return FText->text();
}

} // namespace kav
