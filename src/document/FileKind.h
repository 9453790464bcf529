#pragma once
// The kinds of language file: the product's main resources or its user part; fkNone while no
// document is loaded. The numbers are the tool's own and stay as they are.

namespace kav {

enum StrFileKind : int { fkNone = 0, fkUser = 1, fkMain = 2 };

} // namespace kav
