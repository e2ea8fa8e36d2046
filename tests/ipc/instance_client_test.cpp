// The client side of the local socket against a stand-in for the running program: a held lock
// and a listener in a private runtime folder.
#include <gtest/gtest.h>

#include <poll.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "core/file_lock.h"
#include "ipc/instance_client.h"
#include "ipc/instance_paths.h"
#include "ipc/unix_socket.h"
#include "tests/support/temp_folder.h"

namespace qxr::ipc {
namespace {

class InstanceClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    saved_ = saved == nullptr ? std::string() : saved;
    had_ = saved != nullptr;
    setenv("XDG_RUNTIME_DIR", folder_.path().c_str(), 1);
  }
  void TearDown() override {
    if (server_.joinable()) server_.join();
    if (had_) {
      setenv("XDG_RUNTIME_DIR", saved_.c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }
  // Holds the lock and listens; the server thread takes one client, reads its line and writes
  // the given lines back.
  void serve(std::vector<std::string> replies) {
    ASSERT_TRUE(lock_.try_lock(instance_lock_path()));
    listener_ = listen_local(instance_socket_path(), 0600, 4).fd;
    ASSERT_TRUE(listener_.valid());
    server_ = std::thread([this, replies = std::move(replies)] {
      pollfd p{listener_.get(), POLLIN, 0};
      if (::poll(&p, 1, 5000) != 1) return;
      SocketResult client = accept_local(listener_.get());
      if (!client.fd.valid()) return;
      for (int i = 0; i < 100 && received_.find('\n') == std::string::npos; ++i) {
        pollfd r{client.fd.get(), POLLIN, 0};
        ::poll(&r, 1, 50);
        receive_some(client.fd.get(), received_, 4096);
      }
      for (const std::string& line : replies) send_all(client.fd.get(), line, 1000);
      // Stays open until the client has gone, as the program does.
      pollfd hangup{client.fd.get(), POLLIN, 0};
      ::poll(&hangup, 1, 5000);
    });
  }

  testing::TempFolder folder_;
  FileLock lock_;
  UniqueFd listener_;
  std::thread server_;
  std::string received_;
  std::string saved_;
  bool had_ = false;
};

bool is_table(const LocalMessage& m) { return m.kind == MessageKind::Data && m.wparam == kDeviceTableDataId; }

TEST_F(InstanceClientTest, TheAnswerIsFoundBehindTheGreeting) {
  serve({"light-announce 1 1\n", "data 5 AQID\n"});
  const Answer answer = ask_instance({MessageKind::DeviceTable, 0, 0, {}}, is_table);
  EXPECT_EQ(answer.result, SendResult::Sent);
  ASSERT_TRUE(answer.reply.has_value());
  EXPECT_EQ(answer.reply->data, (std::vector<uint8_t>{1, 2, 3}));
  server_.join();
  EXPECT_EQ(received_, "device-table\n");
}

TEST_F(InstanceClientTest, AProgramThatDoesNotAnswerLeavesTheReplyEmptyInTime) {
  serve({"light-announce 1 1\n"});
  const auto start = std::chrono::steady_clock::now();
  const Answer answer = ask_instance({MessageKind::DeviceTable, 0, 0, {}}, is_table, 300);
  EXPECT_EQ(answer.result, SendResult::Sent);
  EXPECT_FALSE(answer.reply.has_value());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST_F(InstanceClientTest, WithoutARunningProgramNothingIsSentAndTheEndIsAtOnce) {
  EXPECT_EQ(ask_instance({MessageKind::DeviceTable, 0, 0, {}}, is_table, 500).result, SendResult::NoInstance);
  EXPECT_EQ(send_to_instance({MessageKind::Quit, 0, 0, {}}, 500), SendResult::NoInstance);
  EXPECT_FALSE(instance_running());
  EXPECT_TRUE(wait_for_instance_end(0));
}

TEST_F(InstanceClientTest, WaitingForTheEndFollowsTheLock) {
  ASSERT_TRUE(lock_.try_lock(instance_lock_path()));
  EXPECT_TRUE(instance_running());
  EXPECT_FALSE(wait_for_instance_end(100));
  std::thread release([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    lock_.unlock();
  });
  EXPECT_TRUE(wait_for_instance_end(5000));
  release.join();
}

TEST(InstancePaths, TheTemporaryFolderNamesTheUser) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string keep = saved == nullptr ? std::string() : saved;
  setenv("XDG_RUNTIME_DIR", "/nonexistent-runtime-folder", 1);
  const std::string path = instance_socket_path();
  EXPECT_EQ(path.rfind("-" + std::to_string(::getuid())), path.size() - std::to_string(::getuid()).size() - 1);
  EXPECT_EQ(instance_lock_path(), path + ".lock");
  if (saved == nullptr) {
    unsetenv("XDG_RUNTIME_DIR");
  } else {
    setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
  }
}

}  // namespace
}  // namespace qxr::ipc
