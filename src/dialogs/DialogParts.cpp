#include "dialogs/DialogParts.h"

#include <QGridLayout>
#include <QLabel>

#include "dataentry/DataEdit.h"
#include "dataentry/Units.h"

namespace torvex {

TDataEdit* AddField(QGridLayout* grid, const char* name, const QString& caption,
                    const std::string& units) {
    QWidget* owner = grid->parentWidget();
    auto* field = new TDataEdit(owner);
    field->setObjectName(name);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(14, '0')));
    auto* label = new QLabel(owner);
    label->setObjectName(QString(name) + "Label");
    field->SetCaption(caption);
    field->SetUnitsString(units);
    field->SetEditLabel(label);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return field;
}

QLabel* AddNote(QGridLayout* grid, const QString& text) {
    auto* note = new QLabel(text, grid->parentWidget());
    note->setTextFormat(Qt::PlainText);
    grid->addWidget(note, grid->rowCount(), 0, 1, 2);
    return note;
}

long double Shown(long double stored, TDisplay display, int unitSystem) {
    if (unitSystem != kUnitsEnglish) return stored;
    switch (display) {
        case TDisplay::Feet: return stored / 12;
        case TDisplay::PerSquareFoot: return stored * 144;
        case TDisplay::AsStored: break;
    }
    return stored;
}

long double Stored(long double shown, TDisplay display, int unitSystem) {
    if (unitSystem != kUnitsEnglish) return shown;
    switch (display) {
        case TDisplay::Feet: return shown * 12;
        case TDisplay::PerSquareFoot: return shown / 144;
        case TDisplay::AsStored: break;
    }
    return shown;
}

}  // namespace torvex
