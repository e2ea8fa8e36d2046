#include "tools/qxr470ctl/ctl_commands.h"

#include <fmt/format.h>

#include <mutex>

#include "devices/device_kind.h"
#include "protocol/command_channel.h"
#include "tools/qxr470ctl/device_table_command.h"
#include "tools/qxr470ctl/info_fields.h"
#include "tools/qxr470ctl/interface_scan.h"

namespace qxr::ctl {

namespace {

using namespace qxr::protocol;

constexpr uint32_t kMaxReadLength = 4096;
constexpr size_t kRawDataCapacity = kReportSize - kOffLength;  // bytes 4..63


const char* role_name(uint16_t role) { return role == hid::kInterfaceRolePrimary ? "primary" : "secondary"; }

Json::Value interface_json(const ScannedInterface& s) {
  Json::Value v(Json::objectValue);
  v["path"] = s.record.path;
  v["vendor_id"] = s.record.vendor_id;
  v["product_id"] = s.record.product_id;
  v["interface"] = s.record.interface_number;
  v["collection"] = s.record.collection_number;
  v["usage_page"] = s.record.usage_page;
  v["usage"] = s.record.usage;
  v["kind"] = s.record.kind;
  v["kind_name"] = std::string(kind_name(s.record.kind));
  v["role"] = role_name(s.record.role);
  v["slot"] = s.slot;
  if (!s.open_error.empty()) v["error"] = s.open_error;
  return v;
}

int run_list(const Args& args, Output& out) {
  ScanResult scan = scan_interfaces(args.emulator_dir);
  out.doc()["enumeration_ok"] = scan.enumeration_ok;
  Json::Value list(Json::arrayValue);
  for (const ScannedInterface& s : scan.interfaces) {
    list.append(interface_json(s));
    const auto& r = s.record;
    std::string slot = s.slot >= 0 ? fmt::format("slot {}", s.slot) : std::string("no slot");
    out.line(fmt::format("{:<8} {:<8} {:<9} {:04x}:{:04x} mi {} col {}  usage {:04x}/{:04x}  {}", slot,
                         kind_name(r.kind), role_name(r.role), r.vendor_id, r.product_id, r.interface_number,
                         r.collection_number, r.usage_page, r.usage, r.path));
    if (!s.open_error.empty()) out.line("         " + s.open_error);
  }
  out.doc()["interfaces"] = list;
  if (!scan.enumeration_ok) return out.fail(kExitFailed, "enumeration failed");
  if (scan.interfaces.empty()) out.line("no supported interface present");
  return kExitOk;
}

// Opens the kind's primary interface on the channel, as the device manager does.
int open_kind(const Args& args, const std::string& kind, CommandChannel& channel, Output& out) {
  if (!known_kind(kind)) return out.fail(kExitUsage, "unknown device kind " + kind);
  ScanResult scan = scan_interfaces(args.emulator_dir);
  const ScannedInterface* found = find_primary(scan, kind);
  if (found == nullptr) {
    if (const ScannedInterface* denied = find_unopenable(scan, kind)) return out.fail(kExitFailed, denied->open_error);
    return out.fail(kExitFailed, "no " + kind + " found" +
                                     (args.emulator_dir.empty() ? std::string() : " (also looked in " + args.emulator_dir + ")"));
  }
  if (!channel.open(found->record.path)) {
    return out.fail(kExitFailed, describe_open_failure(found->record.path, channel.device()));
  }
  channel.set_receiver_mode(found->record.kind == devices::kKindReceiverMouse);
  out.doc()["device"] = interface_json(*found);
  out.line(fmt::format("{} on {}", kind, found->record.path));
  return kExitOk;
}

int result_exit(int result) { return result == kResultOk ? kExitOk : kExitFailed; }

int run_info(const Args& args, Output& out) {
  const std::string& kind = args.operands[0];
  CommandChannel channel;
  if (int rc = open_kind(args, kind, channel, out); rc != kExitOk) return rc;
  // Bracketed as the device pages read it at connect.
  int begin = channel.begin();
  uint8_t info[kInfoSize] = {};
  int result = channel.read_info(info);
  int end = channel.end();
  out.doc()["begin_result"] = begin;
  out.doc()["result"] = result;
  out.doc()["end_result"] = end;
  if (result != kResultOk) return out.fail(kExitFailed, fmt::format("reading the information block failed: result {}", result));
  out.doc()["info"] = hex_bytes(info, kInfoSize);
  out.line("information block: " + hex_bytes(info, kInfoSize));
  Json::Value fields(Json::objectValue);
  for (const DecodedField& f : decode_info(kind, info, kInfoSize)) {
    fields[f.name] = f.value;
    out.line(fmt::format("  {:<22} {}", f.name, f.value));
  }
  out.doc()["fields"] = fields;
  return kExitOk;
}

int run_read_params(const Args& args, Output& out) {
  uint32_t offset = 0, length = 0;
  if (!parse_number(args.operands[1], 0xFFFF, &offset)) return out.fail(kExitUsage, "bad OFFSET " + args.operands[1]);
  if (!parse_number(args.operands[2], kMaxReadLength, &length)) {
    return out.fail(kExitUsage, fmt::format("bad LENGTH {} (at most {})", args.operands[2], kMaxReadLength));
  }
  CommandChannel channel;
  if (int rc = open_kind(args, args.operands[0], channel, out); rc != kExitOk) return rc;
  std::vector<uint8_t> data(length);
  int result = channel.read_params(data.data(), data.size(), static_cast<uint16_t>(offset));
  out.doc()["offset"] = offset;
  out.doc()["length"] = length;
  out.doc()["result"] = result;
  if (result != kResultOk) return out.fail(kExitFailed, fmt::format("reading parameters failed: result {}", result));
  out.doc()["data"] = hex_bytes(data.data(), data.size());
  for (const std::string& l : report_lines(data.data(), data.size())) out.line(l);
  return kExitOk;
}

int run_exchange(const Args& args, Output& out) {
  uint8_t command = 0;
  if (!parse_command(args.operands[1], &command)) return out.fail(kExitUsage, "bad CMD " + args.operands[1]);
  std::vector<uint8_t> data;
  if (args.operands.size() > 2 && !parse_hex_data(args.operands[2], &data)) {
    return out.fail(kExitUsage, "bad DATA-HEX " + args.operands[2]);
  }
  if (data.size() > kRawDataCapacity) {
    return out.fail(kExitUsage, fmt::format("DATA-HEX holds {} bytes, at most {} fit", data.size(), kRawDataCapacity));
  }
  CommandChannel channel;
  if (int rc = open_kind(args, args.operands[0], channel, out); rc != kExitOk) return rc;
  CommandReport request = make_request(command);
  std::copy(data.begin(), data.end(), request.begin() + kOffLength);
  set_checksum(request.data());
  CommandReport reply{};
  size_t n = 0;
  int exchanged = channel.exchange(request.data(), request.size(), reply.data(), reply.size(), &n);
  int result = exchanged == kResultWriteFailed ? exchanged : complete_command(exchanged, reply.data());
  out.doc()["request"] = hex_bytes(request.data(), request.size());
  out.doc()["exchange_result"] = exchanged;
  out.doc()["result"] = result;
  out.line("request:");
  for (const std::string& l : report_lines(request.data(), request.size())) out.line(l);
  if (n > 0) {
    out.doc()["reply"] = hex_bytes(reply.data(), n);
    out.doc()["status"] = reply[kOffStatus];
    out.line("reply:");
    for (const std::string& l : report_lines(reply.data(), n)) out.line(l);
  }
  out.line(fmt::format("result {}", result));
  return result_exit(result);
}

struct CommandEntry {
  const char* name;
  size_t min_operands;
  size_t max_operands;
  int (*run)(const Args&, Output&);
};

constexpr CommandEntry kCommands[] = {
    {"list", 0, 0, run_list},
    {"info", 1, 1, run_info},
    {"read-params", 3, 3, run_read_params},
    {"exchange", 2, 3, run_exchange},
    {"device-table", 0, 0, run_device_table},
};

}  // namespace

int run_command(const Args& args, Output& out) {
  for (const CommandEntry& c : kCommands) {
    if (args.command != c.name) continue;
    if (args.operands.size() < c.min_operands || args.operands.size() > c.max_operands) {
      return out.fail(kExitUsage, std::string("wrong number of operands for ") + c.name + "\n" + usage_text());
    }
    return c.run(args, out);
  }
  return out.fail(kExitUsage, "unknown command " + args.command + "\n" + usage_text());
}

}  // namespace qxr::ctl
