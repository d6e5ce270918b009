// The system's printer names: local printers and printer connections, in the
// spooler's order.
#pragma once

#include "base/string_list.h"

namespace pinst {

// Full names, as the spooler gives them (level 4, local and connections); empty
// when the enumeration fails.
StringList SystemPrinterNames();

// Replaces list with the names as listed ("Name on Port" keeps only "Name") and returns the default
// printer's position in it, or -1. With no system printers or no list, returns -1 and leaves list
// alone.
int ListPrinters(StringList* list);

}  // namespace pinst
