#pragma once
// The spelling part of the translated cell's pop-up menu: for each misspelt word of the row a
// submenu with the dictionary's suggestions (one puts itself in place of the word, as one undo
// step) and "Add to dictionary", which keeps the word in the project's list.

class QMenu;

namespace kav {

class TTranslationView;

// Replaces the spelling entries Menu had from an earlier row with Row's, at the menu's top.
void AddSpellingItems(QMenu& Menu, TTranslationView& View, int Row);

} // namespace kav
