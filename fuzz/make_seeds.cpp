// Writes the seeds that are not plain files of the tree: the emulated devices' report
// descriptors with one of their input reports, the emulated firmware's replies to each
// request pattern of the command channel, and a profile list as the program writes it.
// Usage: make_fuzz_seeds <corpus folder>   (fuzz/corpus; the files are kept in the repo)
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "emulator/firmware.h"
#include "emulator/report_descriptors.h"
#include "fuzz/channel_ops.h"
#include "fuzz/scratch_folder.h"
#include "profile/profile_list.h"

using namespace qxr;
using namespace qxr::fuzz;

namespace {

void write_seed(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
  ::mkdir(folder.c_str(), 0755);
  std::ofstream out(folder + "/" + name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) std::perror(name.c_str());
}

void descriptor_seeds(const std::string& corpus) {
  struct Row {
    const char* name;
    std::vector<uint8_t> (*descriptor)();
    std::vector<uint8_t> report;
  };
  const Row rows[] = {
      {"keyboard", emu::keyboard_report_descriptor, {emu::kConsumerEventReportId, 0x01, 0x04, 0x00, 0x00}},
      {"mouse", emu::mouse_report_descriptor, {emu::kConsumerEventReportId, 0x05, 0x05, 0x00, 0x00}},
      {"pad", emu::pad_report_descriptor, {emu::kConsumerEventReportId, 0x02, 0x04, 0x00, 0x00}},
      {"headset", emu::headset_report_descriptor, {emu::kConsumerEventReportId, 0x01, 0x04, 0x00, 0x00}},
  };
  for (const Row& r : rows) {
    std::vector<uint8_t> seed = r.descriptor();
    seed.insert(seed.end(), r.report.begin(), r.report.end());
    seed.push_back(static_cast<uint8_t>(r.report.size()));
    write_seed(corpus + "/report_descriptor", r.name, seed);
  }
}

// Runs a request pattern against the emulated firmware and keeps its replies as the stream.
int record(const ChannelOp& op, emu::DeviceType device, std::vector<uint8_t>* stream) {
  emu::Firmware firmware(emu::firmware_layout(device));
  ReplyPeer peer(scratch_folder(), [&](const Packet& request, std::vector<Packet>* replies) {
    protocol::CommandReport reply = firmware.handle_command(request.data(), request.size());
    replies->emplace_back(reply.begin(), reply.end());
    append_reply(replies->back(), stream);
    return true;
  });
  protocol::CommandChannel channel;
  if (!channel.open(peer.path())) return protocol::kResultNoReply;
  int result = op.run(channel);
  channel.close();
  peer.wait_served(1);
  return result;
}

void channel_seeds(const std::string& corpus) {
  const auto ops = channel_ops();
  for (size_t i = 0; i < ops.size(); ++i) {
    // The keyboard answers most patterns, the mouse the ones only it knows; a refusal (the
    // made-up images) is a real reply as well.
    std::vector<uint8_t> seed;
    for (emu::DeviceType device : {emu::DeviceType::Keyboard, emu::DeviceType::Mouse}) {
      seed = {static_cast<uint8_t>(i)};
      if (record(ops[i], device, &seed) == protocol::kResultOk) break;
    }
    write_seed(corpus + "/command_channel", ops[i].name, seed);
  }
}

void profile_list_seed(const std::string& corpus, const std::string& source_dir) {
  clear_scratch_folder();
  ProfileList list;
  list.SetFolders(scratch_folder(), source_dir + "/DefaultData/mouse.Json");
  list.InitProfileList();
  list.AddProfile();
  list.RenameProfile("fps");
  list.AddProfile();
  std::ifstream in(list.ListFilePath(), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  write_seed(corpus + "/profile_list", "ProfileList.ini", bytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds <corpus folder>\n");
    return 2;
  }
  const std::string corpus = argv[1];
  descriptor_seeds(corpus);
  channel_seeds(corpus);
  profile_list_seed(corpus, QXR_FUZZ_SOURCE_DIR);
  return 0;
}
