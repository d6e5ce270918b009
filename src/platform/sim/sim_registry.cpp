#include "platform/sim/sim_registry.h"

#include <cctype>

namespace pinst::sim {

namespace {

constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorUnsupportedType = 1630;
constexpr uint32_t kErrorKeyHasChildren = 1020;  // ERROR_KEY_HAS_CHILDREN

const char* ViewName(RegistryView view) { return view == RegistryView::k64 ? "64" : "32"; }

}  // namespace

std::string SimRegistry::Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string SimRegistry::Path(RegistryView view, const std::string& key) {
  std::string path = Lower(key);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return std::string(ViewName(view)) + ":" + path;
}

void SimRegistry::Set(RegistryView view, const std::string& key, const std::string& name,
                      SimRegistryValue value) {
  // Parents come into being with the key, as RegCreateKeyEx makes them.
  const std::string path = Path(view, key);
  for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
    keys_[path.substr(0, at)];
  }
  keys_[path].values[Lower(name)] = {name, std::move(value)};
}

void SimRegistry::SetDword(RegistryView view, const std::string& key, const std::string& name,
                           uint32_t value) {
  SimRegistryValue v;
  v.dword = value;
  Set(view, key, name, v);
}

void SimRegistry::SetString(RegistryView view, const std::string& key, const std::string& name,
                            const std::string& value) {
  SimRegistryValue v;
  v.isString = true;
  v.text = value;
  Set(view, key, name, v);
}

bool SimRegistry::HasKey(RegistryView view, const std::string& key) const {
  return keys_.count(Path(view, key)) != 0;
}

const SimRegistryValue* SimRegistry::Find(RegistryView view, const std::string& key,
                                          const std::string& name) const {
  auto k = keys_.find(Path(view, key));
  if (k == keys_.end()) return nullptr;
  auto v = k->second.values.find(Lower(name));
  return v == k->second.values.end() ? nullptr : &v->second.second;
}

std::optional<SimRegistryValue> SimRegistry::Value(RegistryView view, const std::string& key,
                                                   const std::string& name) const {
  const SimRegistryValue* v = Find(view, key, name);
  if (!v) return std::nullopt;
  return *v;
}

std::map<std::string, SimRegistryValue> SimRegistry::Values(RegistryView view,
                                                            const std::string& key) const {
  std::map<std::string, SimRegistryValue> out;
  auto k = keys_.find(Path(view, key));
  if (k == keys_.end()) return out;
  for (const auto& [lower, named] : k->second.values) out[named.first] = named.second;
  return out;
}

uint32_t SimRegistry::ReadDword(RegistryView view, const std::string& key, const std::string& name,
                                uint32_t& value) {
  if (Injected(faults, "registry.ReadDword")) return faultError;
  if (failReads) return *failReads;
  const SimRegistryValue* v = Find(view, key, name);
  if (!v) return kErrorFileNotFound;
  if (v->isString) return kErrorUnsupportedType;
  value = v->dword;
  return 0;
}

uint32_t SimRegistry::ReadString(RegistryView view, const std::string& key, const std::string& name,
                                 std::string& value) {
  if (Injected(faults, "registry.ReadString")) return faultError;
  if (failReads) return *failReads;
  const SimRegistryValue* v = Find(view, key, name);
  if (!v) return kErrorFileNotFound;
  if (!v->isString) return kErrorUnsupportedType;
  value = v->text;
  return 0;
}

uint32_t SimRegistry::WriteDword(RegistryView view, const std::string& key, const std::string& name,
                                 uint32_t value) {
  if (Injected(faults, "registry.WriteDword")) return faultError;
  if (failWrites) return *failWrites;
  SetDword(view, key, name, value);
  Note(trace, std::string("registry ") + ViewName(view) + " " + key + " " + name + "=" +
                  std::to_string(value));
  return 0;
}

uint32_t SimRegistry::WriteString(RegistryView view, const std::string& key,
                                  const std::string& name, const std::string& value) {
  if (Injected(faults, "registry.WriteString")) return faultError;
  if (failWrites) return *failWrites;
  SetString(view, key, name, value);
  Note(trace,
       std::string("registry ") + ViewName(view) + " " + key + " " + name + "=\"" + value + "\"");
  return 0;
}

uint32_t SimRegistry::DeleteKey(RegistryView view, const std::string& key) {
  if (Injected(faults, "registry.DeleteKey")) return faultError;
  if (failWrites) return *failWrites;
  const std::string path = Path(view, key);
  auto k = keys_.find(path);
  if (k == keys_.end()) return kErrorFileNotFound;
  const std::string below = path + "\\";
  auto child = keys_.lower_bound(below);
  if (child != keys_.end() && child->first.compare(0, below.size(), below) == 0) {
    return kErrorKeyHasChildren;
  }
  keys_.erase(k);
  Note(trace, std::string("registry ") + ViewName(view) + " delete " + key);
  return 0;
}

}  // namespace pinst::sim
