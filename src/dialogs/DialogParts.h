#pragma once
// Small pieces the dialogs are built from.

#include <QString>
#include <string>

class QGridLayout;
class QLabel;
class QWidget;

namespace torvex {

class TDataEdit;

// A numeric field named `name` with its companion label in the next row of `grid`: the label
// in column 0, the field in column 1.
TDataEdit* AddField(QGridLayout* grid, const char* name, const QString& caption,
                    const std::string& units);

// A plain label (a fixed note) spanning both columns of the next row of `grid`.
QLabel* AddNote(QGridLayout* grid, const QString& text);

// How a stored value is shown in English units, where the project keeps inches and per
// square inch: as it is, in feet (stored ÷ 12) or per square foot (stored × 144). The other
// unit systems show every value as stored.
enum class TDisplay { AsStored, Feet, PerSquareFoot };
long double Shown(long double stored, TDisplay display, int unitSystem);
long double Stored(long double shown, TDisplay display, int unitSystem);

}  // namespace torvex
