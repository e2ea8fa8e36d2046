#include "profile/json_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <json/reader.h>
#include <json/writer.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "core/atomic_file.h"
#include "core/debug_line.h"
#include "profile/write_outcomes.h"

namespace qxr {

namespace {

bool parse_json(const std::string& text, Json::Value& out) {
  Json::CharReaderBuilder builder;
  builder["collectComments"] = true;
  builder["allowComments"] = true;
  builder["stackLimit"] = kMaxJsonNesting;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  std::string errors;
  try {
    // The reader throws when the nesting limit is exceeded.
    if (reader->parse(text.data(), text.data() + text.size(), &out, &errors)) return true;
  } catch (const std::exception&) {
  }
  out = Json::Value();
  return false;
}

bool file_exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

bool path_is_regular_file(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string ReadFileText(const std::string& path) {
  errno = 0;
  // O_NONBLOCK: a FIFO put where a file belongs must not hang the program.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  debug_fmt("readjsonFile 错误吗：：{}\n", fd < 0 ? errno : 0);
  if (fd < 0) return {};
  std::string result;
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
      static_cast<std::size_t>(st.st_size) <= kMaxJsonFileBytes) {
    const auto size = static_cast<std::size_t>(st.st_size);
    std::string buffer(size, '\0');
    std::size_t got = 0;
    while (got < size) {
      ssize_t n = read(fd, buffer.data() + got, size - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (got == size) result = std::move(buffer);
  } else if (st.st_size > 0 && static_cast<std::size_t>(st.st_size) > kMaxJsonFileBytes) {
    debug_fmt("file too large, not read: {}", path);
  }
  close(fd);
  return result;
}

Json::Value ParseJsonText(const std::string& text) {
  Json::Value value;
  parse_json(text, value);
  return value;
}

Json::Value ReadJsonFile(const std::string& path) {
  std::string text = ReadFileText(path);
  if (text.empty()) {
    debug_line(path);
    return {};
  }
  return ParseJsonText(text);
}

std::string StyledJsonText(const Json::Value& value) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "   ";
  builder["emitUTF8"] = true;
  builder["commentStyle"] = "All";
  try {
    return Json::writeString(builder, value) + "\n";
  } catch (const std::exception&) {
    return {};
  }
}

bool WriteJsonFile(const std::string& path, const Json::Value& value) {
  std::string text = StyledJsonText(value);
  if (text.empty()) return false;
  int error = 0;
  if (!write_file_atomic(path, text, &error)) {
    debug_fmt("write failed: {}: {}", path, std::strerror(error));
    ReportWrite(path, error);
    return false;
  }
  ReportWrite(path, 0);
  return true;
}

std::string MakeTimeStampId() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  return fmt::format("{}_{:02}_{:02}_{:02}_{:02}_{:02}_{:03}", local.tm_year + 1900,
                     local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                     ts.tv_nsec / 1000000);
}

std::string SetAsideFile(const std::string& path) {
  // Only files: a folder or device node in a file's place is left alone.
  if (!path_is_regular_file(path)) return {};
  const std::string base = path + ".unreadable-" + MakeTimeStampId();
  std::string aside = base;
  for (int n = 1; file_exists(aside); ++n) aside = base + "-" + std::to_string(n);
  if (std::rename(path.c_str(), aside.c_str()) != 0) {
    debug_fmt("unreadable file could not be kept aside: {}", path);
    return {};
  }
  debug_fmt("unreadable file kept as {}", aside);
  return aside;
}

JsonFileForUpdate InspectJsonFile(const std::string& path) {
  JsonFileForUpdate result;
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || (S_ISREG(st.st_mode) && st.st_size == 0)) return result;
  if (!S_ISREG(st.st_mode)) {
    // Not ours to move (a folder, a device node): report it and let the caller leave it.
    result.state = JsonFileState::kUnreadable;
    return result;
  }
  Json::Value document;
  const bool parsed = parse_json(ReadFileText(path), document);
  if (parsed && document.isObject()) {
    result.state = JsonFileState::kReadable;
    result.document = std::move(document);
    return result;
  }
  if (parsed && document.isNull()) return result;  // a bare "null" holds nothing to keep
  result.state = JsonFileState::kUnreadable;
  return result;
}

JsonFileForUpdate ReadJsonFileForUpdate(const std::string& path) {
  JsonFileForUpdate result = InspectJsonFile(path);
  if (result.state == JsonFileState::kUnreadable) {
    result.set_aside = SetAsideFile(path);
  }
  return result;
}

}  // namespace qxr
