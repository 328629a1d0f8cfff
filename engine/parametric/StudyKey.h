#pragma once
// The input a parametric study varies, named as the data file and the program name it:
//   a project field             FreeHeight, NumIncrements, BackfillSurcharge, ...
//   a cell of an input table    Table[row].column     e.g. PileSect[1].Flexural Stiffness (EI)
//   an option-block key         SeismicKh, SeismicKv, ...
// Rows count from 1 as the table editor shows them; a column is named by its caption (header
// lines joined by one blank, case and trailing commas ignored; the start of a caption will do
// when only one column starts so). A soil-layer table's row reaches into the layer's
// parameters: NewSoil[2].Friction Angle sets the friction angle at the layer's top and bottom.
//
// Values are in the data file's own units, as the engine reads the file: inches, pounds, psi
// and pci in an English file (the table of soil layers shows feet, pcf and psf), kN and m in
// SI. NumIncrements keeps the increment length, so the wall grows or shrinks at its tip, and
// the table rows that ended at the old tip node end at the new one.

#include <string>

namespace torvex {
class TWorkspace;
}

namespace torvex::engine {

struct TStudyKey {
    enum class TKind { Field, Cell, Option };
    TKind kind = TKind::Field;
    std::string text;    // as given
    std::string name;    // field, option or table name
    int row = 0;         // 1-based, cells only
    std::string column;  // as given, cells only
};

// The accepted forms, for messages and help texts.
extern const char* const kStudyKeyForms;

// Parses a key; raises std::invalid_argument naming the accepted forms when it is not one.
// Table and column names are checked against a workspace when the key is applied.
TStudyKey ParseStudyKey(const std::string& text);

// True for a key of the option block: it belongs to the whole project, not to a stage.
bool IsProjectWide(const TStudyKey& key);

// Sets the input to `value` (file units) and returns the value set: NumIncrements rounds to a
// whole number. Raises std::invalid_argument for a table, row or column the project lacks.
double ApplyStudyKey(TWorkspace& workspace, const TStudyKey& key, double value);

// The input's present value in file units.
double StudyKeyValue(const TWorkspace& workspace, const TStudyKey& key);

}  // namespace torvex::engine
