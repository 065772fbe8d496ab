// Control labels as the terminal shows them: the mnemonic marker taken out
// (the letter itself is sheet::MnemonicOf's).
#pragma once

#include <string>

namespace quorle::tui {

// Without "&" (a doubled "&&" stays one) and without a trailing colon.
std::string PlainText(const std::string& label);

} // namespace quorle::tui
