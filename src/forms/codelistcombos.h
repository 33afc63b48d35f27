#pragma once
// Pick lists of the record forms bound to the auxiliary code lists: every
// combo box of a form with an int property "tag" of 1 to 9 offers the values
// of its list and adds what the user types when he leaves it or presses Enter
// in it. A combo with the property "addOnExitOnly" set adds only when left.
#include "codelists.h"

class QComboBox;
class QWidget;

namespace tz::gui {

void bindCodeListCombos(QWidget *form, tz::db::Database &db, tz::codelists::FormKind kind);

// Adds the combo's text to its list and to its items (what leaving it does);
// true when the list took a new value. Errors are shown to the user.
bool addCodeListValue(QComboBox *combo);

} // namespace tz::gui
