#pragma once
// Fails the running test on a warning, a critical or an error that GTK or
// GLib logs, whichever library logged it, and writes every message as GLib
// would. A test may tolerate warnings that name a service of the machine (the
// system bus and what runs on it), which a desktop has and a test machine may
// lack.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstring>
#include <string>
#include <vector>

namespace gtkwarnings {

// Parts of warning texts that the running test tolerates.
inline std::vector<std::string>& Tolerated() {
  static std::vector<std::string> parts;
  return parts;
}

inline bool IsTolerated(GLogLevelFlags level, const GLogField* fields, gsize count) {
  if ((level & G_LOG_LEVEL_MASK) != G_LOG_LEVEL_WARNING) return false;
  for (gsize field = 0; field < count; ++field) {
    if (std::strcmp(fields[field].key, "MESSAGE") != 0) continue;
    const char* text = static_cast<const char*>(fields[field].value);
    const std::string message(
        text, fields[field].length < 0 ? std::strlen(text) : size_t(fields[field].length));
    for (const std::string& part : Tolerated())
      if (message.find(part) != std::string::npos) return true;
  }
  return false;
}

inline GLogWriterOutput FailOnWarnings(GLogLevelFlags level, const GLogField* fields, gsize count,
                                       gpointer data) {
  if ((level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) &&
      !IsTolerated(level, fields, count)) {
    gchar* line = g_log_writer_format_fields(level, fields, count, FALSE);
    ADD_FAILURE() << line;
    g_free(line);
  }
  return g_log_writer_default(level, fields, count, data);
}

// GLib takes one writer per process, for good: the first call sets it.
inline void FailTestsOnWarnings() {
  static const bool kWriterSet = (g_log_set_writer_func(FailOnWarnings, nullptr, nullptr), true);
  (void)kWriterSet;
}

// Warnings that hold any of the parts pass while the object lives.
class ToleratedWarnings {
 public:
  explicit ToleratedWarnings(std::vector<std::string> parts) { Tolerated() = std::move(parts); }
  ~ToleratedWarnings() { Tolerated().clear(); }
  ToleratedWarnings(const ToleratedWarnings&) = delete;
  ToleratedWarnings& operator=(const ToleratedWarnings&) = delete;
};

}  // namespace gtkwarnings
