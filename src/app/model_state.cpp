#include "app/model_state.h"

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "spooler/dyn_spooler.h"
#include "spooler/printer_ops.h"

namespace pinst {

bool ReadSpoolerView(TSpoolerView& view) {
  if (!ReadLocalPrinters(view.printers)) return false;
  if (!DynGetDefaultPrinter(view.defaultPrinter)) view.defaultPrinter.clear();
  return true;
}

TModelState StateOf(const TSpoolerView& view, const std::string& modelName) {
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  TModelState state;
  for (const PrinterInfo2& p : view.printers) {
    if (!EqualsNoCase(p.printerName, modelName, codePage)) continue;
    const bool ours = EqualsNoCase(p.driverName, modelName, codePage);
    // Some spoolers accept a name twice: one of them on the model's driver counts.
    if (state.printerNamed && !ours) continue;
    state.printerNamed = true;
    state.installed = ours;
    state.printerName = p.printerName;
    state.driverName = p.driverName;
    state.portName = p.portName;
    state.isDefault = EqualsNoCase(view.defaultPrinter, p.printerName, codePage);
    if (ours) break;
  }
  return state;
}

}  // namespace pinst
