// /Port=: the port an unattended install goes on, found among the spooler's ports
// or made through the Standard TCP/IP Port monitor before anything else changes,
// and taken away again when the run that made it does not install.
#include <utility>

#include "app/install_run.h"
#include "config/lang_format.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "spooler/port_ops.h"
#include "spooler/tcp_port.h"
#include "sys/run_log.h"

namespace pinst {

namespace {

std::string Describe(const TTcpPortSpec& spec) {
  return spec.host +
         (spec.protocol == kProtocolLpr ? ", LPR queue " + spec.queue
                                        : ", RAW port " + std::to_string(spec.portNumber)) +
         ", SNMP status off";
}

}  // namespace

bool TInstallRun::PreparePort() {
  if (!mode_.port) return true;
  const std::string& value = mode_.port->value;
  std::vector<PortInfo2> ports;
  if (!ReadPorts(ports)) {
    const uint32_t error = Os().spooler->GetLastError();
    LogLine(FormatCode(
        "/Port=" + value + ": the spooler's ports cannot be read (error 0x%.8x): nothing changed",
        error));
    End(TRunResult(TRunOutcome::kFailed, error));
    return false;
  }
  const std::optional<TPortChoice> choice =
      ChoosePort(*mode_.port, ports, Os().system->GetAnsiCodePage());
  if (!choice) {
    LogLine("/Port=" + value +
            ": no port of that name on this computer, and no printer's address: nothing changed");
    TRunResult ended(TRunOutcome::kFailed);
    ended.reason = TRunReason::kPortUnknown;
    ended.port = value;
    End(std::move(ended));
    return false;
  }
  if (choice->make) {
    const TMonitorAnswer answer = AddTcpPort(choice->spec);
    if (!answer.done) {
      LogLine("Standard TCP/IP port " + choice->portName + " not made: " + answer.call +
              FormatCode(" failed with error 0x%.8x", answer.code) + "; nothing installed");
      TRunResult ended(TRunOutcome::kFailed, answer.code);
      ended.reason = TRunReason::kPortMonitorFailed;
      ended.port = choice->portName;
      ended.failedCall = answer.call;
      End(std::move(ended));
      return false;
    }
    madePort = choice->portName;
    LogLine("Standard TCP/IP port " + madePort + " made: " + Describe(choice->spec));
  } else {
    LogLine("/Port=" + value + ": the port " + choice->portName + " exists and is used as it is");
  }
  FChosenPort = choice->portName;
  // As an unattended online run does: a printer of the model's name is replaced.
  FReplaceExisting = true;
  return true;
}

void TInstallRun::RemoveMadePort() {
  if (madePort.empty()) return;
  const std::string name = std::exchange(madePort, std::string());
  const TMonitorAnswer answer = DeleteTcpPort(name);
  LogLine(answer.done ? "Port " + name + ", made by this run, removed again"
                      : "Port " + name + ", made by this run, could not be removed: " +
                            answer.call + FormatCode(" failed with error 0x%.8x", answer.code));
}

}  // namespace pinst
