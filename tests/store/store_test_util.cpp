#include "store_test_util.h"

#include <sqlite3.h>

namespace orvane::testing {

LONG CreateKey(HKEY parent, const std::string& path, OwnedKey& key, REGSAM access) {
  DWORD disposition = 0;
  return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, access, nullptr, key.out(), &disposition);
}

LONG OpenKey(HKEY parent, const std::string& path, OwnedKey& key, REGSAM access) {
  return RegOpenKeyExA(parent, path.c_str(), 0, access, key.out());
}

LONG SetText(HKEY key, const char* name, const std::string& text) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1));
}

std::string GetText(HKEY key, const char* name) {
  char data[4096];
  DWORD size = sizeof(data);
  DWORD type = 0;
  const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  if (status != ERROR_SUCCESS) return "status " + std::to_string(status);
  return std::string(data, size > 0 && data[size - 1] == '\0' ? size - 1 : size);
}

LONG WriteText(const std::string& path, const char* name, const std::string& text) {
  OwnedKey key;
  if (LONG status = CreateKey(HKEY_CURRENT_USER, path, key)) return status;
  return SetText(key.get(), name, text);
}

std::string ReadText(const std::string& path, const char* name) {
  OwnedKey key;
  if (LONG status = OpenKey(HKEY_CURRENT_USER, path, key)) return "status " + std::to_string(status);
  return GetText(key.get(), name);
}

std::string IntegrityCheck(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  std::string report;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK) {
      while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (!report.empty()) report += "\n";
        report += reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
      }
    }
    sqlite3_finalize(stmt);
  }
  if (report.empty()) report = std::string("cannot check: ") + sqlite3_errmsg(db);
  sqlite3_close(db);
  return report;
}

int64_t SqlNumber(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  int64_t number = -1;
  if (sqlite3_open(file.c_str(), &db) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
      number = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return number;
}

}  // namespace orvane::testing
