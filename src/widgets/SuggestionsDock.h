#pragma once
// The suggestions panel beside the grid: for the current item, the translation memory's best
// matches, each with its key (Ctrl+1 ...), score, source file, the memory's English with the
// words that differ from the item's English highlighted, and the translation. It only draws;
// the main window fills it and takes a suggestion through the document's commands.

#include <QDockWidget>
#include <QString>

#include <utility>
#include <vector>

class QLabel;

namespace kav {

struct TSuggestionView {
    int Score = 0;
    QString Origin;
    QString English;
    // Characters of English to highlight: start and length.
    std::vector<std::pair<qsizetype, qsizetype>> Changed;
    QString Translation;
};

class TSuggestionsDock : public QDockWidget {
    Q_OBJECT
public:
    explicit TSuggestionsDock(QWidget* Parent = nullptr);

    // The suggestions for the current item, best first; None is shown when there are none.
    void ShowSuggestions(const std::vector<TSuggestionView>& Suggestions, const QString& None);
    // What the panel shows, as rich text (the tests read it).
    QString Html() const;

private:
    QLabel* FText;
};

// The rich text of a suggestion's English with its changed words marked.
QString HighlightedHtml(const QString& Text,
                        const std::vector<std::pair<qsizetype, qsizetype>>& Changed);

} // namespace kav
