#pragma once

class QLineEdit;

namespace cad {

/// Letters typed into EDIT become capitals as they are typed, the cursor staying where it was.
void raiseLettersAsTyped(QLineEdit* edit);

} // namespace cad
