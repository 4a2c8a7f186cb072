#pragma once

namespace qm {

class DropDownComboBox;

// The USB device and CUPS queue boxes list what is there each time they drop down; a typed name stays.
void listPrintersOnDropDown(DropDownComboBox* device, DropDownComboBox* queue);

} // namespace qm
