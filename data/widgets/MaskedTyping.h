#pragma once

class QLineEdit;

namespace cad {

/// Typing into EDIT, a field with an input mask, starts at its first empty position: when the
/// field gets the focus by program or by Tab, and when a click lands past the typed text.
/// The mask is read at each event, so a field whose mask changes keeps this behaviour.
void typeFromFirstBlank(QLineEdit* edit);

/// The first position of EDIT's mask that still waits for a character; -1 when every one is
/// filled or the field has no mask.
[[nodiscard]] int firstBlankPosition(const QLineEdit* edit);

} // namespace cad
