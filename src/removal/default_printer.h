// Keeping Windows with a default printer after one was deleted.
#pragma once

#include <string>

namespace pinst {

// When the default printer is gone (or none is set), makes the first printer of the
// system's list the default. newDefault receives its name when returnNew is true and
// the change succeeded; otherwise it is empty. A default that still exists stays.
void RepairDefaultPrinter(bool returnNew, std::string& newDefault);

}  // namespace pinst
