#include "tools/qxr470ctl/device_table_command.h"

#include <fmt/format.h>

#include "devices/kinds/device_table.h"
#include "ipc/instance_client.h"
#include "tools/qxr470ctl/ctl_commands.h"
#include "tools/qxr470ctl/interface_scan.h"

namespace qxr::ctl {
namespace {

constexpr int kAnswerTimeoutMs = 3000;

bool is_device_table(const ipc::LocalMessage& m) {
  return m.kind == ipc::MessageKind::Data && m.wparam == ipc::kDeviceTableDataId;
}

}  // namespace

int run_device_table(const Args&, Output& out) {
  const ipc::Answer answer = ipc::ask_instance({ipc::MessageKind::DeviceTable, 0, 0, {}}, is_device_table, kAnswerTimeoutMs);
  switch (answer.result) {
    case ipc::SendResult::NoInstance:
      return out.fail(kExitFailed, "qxr470 is not running");
    case ipc::SendResult::Failed:
      return out.fail(kExitFailed, "the running qxr470 could not be reached");
    case ipc::SendResult::Sent:
      break;
  }
  if (!answer.reply) return out.fail(kExitFailed, "qxr470 did not answer");
  const std::optional<std::vector<devices::DeviceTableRow>> rows = devices::read_device_table(answer.reply->data);
  if (!rows) {
    return out.fail(kExitFailed, fmt::format("qxr470 answered with {} bytes that are not a device table", answer.reply->data.size()));
  }
  const auto& id = devices::kDeviceTableIdentification;
  out.line(fmt::format("identification {} {} {} {}, {} rows", id[0], id[1], id[2], id[3], rows->size()));
  Json::Value list(Json::arrayValue);
  for (size_t r = 0; r < rows->size(); ++r) {
    const devices::DeviceTableRow& row = (*rows)[r];
    out.line(fmt::format("  {}  {:04x}:{:04x}  kind {} {}", r, row.vendor_id, row.product_id, row.kind,
                         kind_name(static_cast<uint16_t>(row.kind))));
    Json::Value v(Json::objectValue);
    v["vendor_id"] = row.vendor_id;
    v["product_id"] = row.product_id;
    v["kind"] = row.kind;
    v["kind_name"] = std::string(kind_name(static_cast<uint16_t>(row.kind)));
    list.append(v);
  }
  out.doc()["rows"] = list;
  out.doc()["block"] = hex_bytes(answer.reply->data.data(), answer.reply->data.size());
  return kExitOk;
}

}  // namespace qxr::ctl
