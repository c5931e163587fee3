#include "update/update_settings.h"

#include <charconv>
#include <cstdio>

#include "platform/text.h"
#include "settings/filters.h"

namespace twinex::update {
namespace {

constexpr char kSection[] = "Update";
constexpr char kScrambleKey[] = "Tw1n3x";  // six characters

struct AddressKey {
  const char* key;
  std::string ServerAddresses::*field;
};
constexpr AddressKey kAddressKeys[] = {
    {"VersionURL", &ServerAddresses::versionFile}, {"BetaVersionURL", &ServerAddresses::betaVersionFile},
    {"ChangesURL", &ServerAddresses::changes},     {"DownloadURL", &ServerAddresses::downloads},
    {"BetaPageURL", &ServerAddresses::betaPage},
};

const char* DateKey(CheckKind kind) {
  return kind == CheckKind::Release ? "CheckNewVersionDate" : "CheckNewBetaVersionDate";
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

UpdateSettings LoadUpdateSettings(const WindowSettings& s) {
  UpdateSettings u;
  u.proxy.use = s.Get(kSection, "UseProxy") == "1";
  u.proxy.host = s.Get(kSection, "ProxyName");
  u.proxy.port = s.Get(kSection, "ProxyPort");
  u.proxy.user = s.Get(kSection, "ProxyUser");
  u.proxy.password = UnscramblePassword(s.Get(kSection, "ProxyPW"));
  u.downloadFolder = s.Get(kSection, "Dpath");
  u.autoCheck = s.Get(kSection, "PrgStartAutoCheck") == "1";
  for (const AddressKey& a : kAddressKeys) u.server.*(a.field) = s.Get(kSection, a.key);
  return u;
}

void StoreUpdateSettings(const UpdateSettings& u, WindowSettings& s) {
  s.Set(kSection, "UseProxy", u.proxy.use ? "1" : "0");
  s.Set(kSection, "ProxyName", u.proxy.host);
  s.Set(kSection, "ProxyPort", u.proxy.port);
  s.Set(kSection, "ProxyUser", u.proxy.user);
  s.Set(kSection, "ProxyPW", ScramblePassword(u.proxy.password));
  s.Set(kSection, "Dpath", u.downloadFolder);
  s.Set(kSection, "PrgStartAutoCheck", u.autoCheck ? "1" : "0");
  for (const AddressKey& a : kAddressKeys) s.Set(kSection, a.key, u.server.*(a.field));
}

// Each byte is combined with the key and written as two hex digits, so the stored value is
// plain ASCII whatever the password holds.
std::string ScramblePassword(const std::string& plain) {
  std::string out;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(plain[i]) ^ static_cast<unsigned char>(kScrambleKey[i % 6]);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", b);
    out += hex;
  }
  return out;
}

std::string UnscramblePassword(const std::string& stored) {
  if (stored.size() % 2 != 0) return "";
  std::string out;
  for (std::size_t i = 0; i < stored.size(); i += 2) {
    const int hi = HexValue(stored[i]), lo = HexValue(stored[i + 1]);
    if (hi < 0 || lo < 0) return "";
    out += static_cast<char>((hi * 16 + lo) ^ static_cast<unsigned char>(kScrambleKey[(i / 2) % 6]));
  }
  return out;
}

std::string ExpandDownloadFolder(const std::string& stored, const std::string& updateFolder) {
  const std::string expanded = platform::Trim(ReplaceSystemvariablen(stored));
  if (expanded.empty() || expanded.find('%') != std::string::npos) return updateFolder;
  return expanded;
}

double LastCheckDate(const WindowSettings& s, CheckKind kind) {
  double value = 0;
  if (!platform::ParseDouble(s.Get("Start", DateKey(kind)), value)) return 0;
  return value;
}

void StoreCheckDate(WindowSettings& s, CheckKind kind, double date) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, date).ptr;
  s.Set("Start", DateKey(kind), std::string(text, end));
}

}  // namespace twinex::update
