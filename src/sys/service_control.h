// Stopping, removing, installing and starting a model's print-monitor service with
// the console tools: sc on Windows XP and later, net on Windows 2000 and older.
// What happened is read from the tools' English output.
#pragma once

#include <string>

namespace pinst {

// Stops the service, and removes it when remove is set. Nothing for an empty name.
void StopMonitorService(const std::string& serviceName, const std::string& serviceExe, bool remove);
// Starts the service, installing it first where it is missing. True when the
// output showed it running or starting; false at once for an empty name.
bool StartMonitorService(const std::string& serviceName, const std::string& serviceExe);

void ScStopService(const std::string& serviceName, const std::string& serviceExe, bool remove);
bool ScStartService(const std::string& serviceName, const std::string& serviceExe);
void NetStopService(const std::string& serviceName, const std::string& serviceExe, bool remove);
bool NetStartService(const std::string& serviceName, const std::string& serviceExe);

}  // namespace pinst
