#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "audio_fakes.h"
#include "devices/audio/alsa_audio_conf.h"
#include "devices/audio/alsa_mixer.h"
#include "devices/audio/audio_conf_factory.h"
#include "devices/audio/emulated_audio_chip.h"
#include "devices/audio/headset_audio.h"
#include "devices/audio/property_io.h"
#include "devices/audio/property_names.h"
#include "devices/audio/usb_sound_card.h"
#include "tests/support/temp_folder.h"

using namespace qxr::audio;
namespace fs = std::filesystem;

namespace {

// A folder laid out like /proc/asound.
class FakeAsound {
 public:
  void card(int n, const std::string& usbid) {
    const auto dir = root() / ("card" + std::to_string(n));
    fs::create_directories(dir);
    if (!usbid.empty()) std::ofstream(dir / "usbid") << usbid;
  }
  fs::path root() const { return folder_.path(); }

 private:
  qxr::testing::TempFolder folder_;
};

struct FakeControl {
  long min = 0, max = 0, value = 0;
  long db_min = 0, db_max = 0;  // hundredths of a dB, linear over the raw range
  bool has_switch = true;
  bool on = true;
};

class FakeMixer : public MixerAccess {
 public:
  std::map<std::string, FakeControl> capture, playback;
  int opened_card = -1;
  bool fail_open = false;
  int refreshes = 0;

  bool open(int card) override {
    if (fail_open) return false;
    opened_card = card;
    return true;
  }
  void close() override { opened_card = -1; }
  bool is_open() const override { return opened_card >= 0; }
  void refresh() override { ++refreshes; }
  std::vector<MixerElementInfo> elements() override {
    std::map<std::string, MixerElementInfo> all;
    for (auto& [n, c] : capture) {
      all[n].name = n;
      all[n].capture_volume = true;
      all[n].capture_switch = c.has_switch;
    }
    for (auto& [n, c] : playback) {
      all[n].name = n;
      all[n].playback_volume = true;
      all[n].playback_switch = c.has_switch;
    }
    std::vector<MixerElementInfo> out;
    for (auto& [n, e] : all) out.push_back(e);
    return out;
  }
  FakeControl* find(const std::string& e, MixerSide s) {
    auto& m = s == MixerSide::Capture ? capture : playback;
    auto it = m.find(e);
    return it == m.end() ? nullptr : &it->second;
  }
  std::optional<MixerVolumeRange> volume_range(const std::string& e, MixerSide s) override {
    auto* c = find(e, s);
    if (!c) return std::nullopt;
    return MixerVolumeRange{c->min, c->max};
  }
  std::optional<MixerDbRange> db_range(const std::string& e, MixerSide s) override {
    auto* c = find(e, s);
    if (!c) return std::nullopt;
    return MixerDbRange{c->db_min, c->db_max};
  }
  std::optional<long> volume(const std::string& e, MixerSide s) override {
    auto* c = find(e, s);
    if (!c) return std::nullopt;
    return c->value;
  }
  bool set_volume(const std::string& e, MixerSide s, long v) override {
    auto* c = find(e, s);
    if (!c) return false;
    c->value = std::clamp(v, c->min, c->max);
    return true;
  }
  std::optional<long> volume_db(const std::string& e, MixerSide s) override {
    auto* c = find(e, s);
    if (!c) return std::nullopt;
    return c->db_min + (c->value - c->min) * (c->db_max - c->db_min) / (c->max - c->min);
  }
  bool set_volume_db(const std::string& e, MixerSide s, long centi) override {
    auto* c = find(e, s);
    if (!c) return false;
    centi = std::clamp(centi, c->db_min, c->db_max);
    c->value = c->min + (centi - c->db_min) * (c->max - c->min) / (c->db_max - c->db_min);
    return true;
  }
  std::optional<bool> switch_on(const std::string& e, MixerSide s) override {
    auto* c = find(e, s);
    if (!c || !c->has_switch) return std::nullopt;
    return c->on;
  }
  bool set_switch(const std::string& e, MixerSide s, bool on) override {
    auto* c = find(e, s);
    if (!c || !c->has_switch) return false;
    c->on = on;
    return true;
  }
};

// A typical USB headset: microphone capture 0-16 over -12..+12 dB, sidetone "Mic" playback
// 0-31 over -31..0 dB, headphone level "Headset".
std::unique_ptr<FakeMixer> headset_mixer() {
  auto m = std::make_unique<FakeMixer>();
  m->capture["Mic"] = {0, 16, 8, -1200, 1200, true, true};
  m->playback["Mic"] = {0, 31, 0, -3100, 0, true, false};
  m->playback["Headset"] = {0, 37, 30, -3700, 0, true, true};
  return m;
}

class AlsaBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    proc.card(0, "");             // the computer's own codec has no usbid
    proc.card(1, "046d:0a44");    // another USB headset
    proc.card(3, "00c7:1630\n");  // ours
    auto m = headset_mixer();
    mixer = m.get();
    conf = std::make_unique<AlsaAudioConf>(std::move(m), AlsaAudioConfOptions{proc.root()});
    ASSERT_EQ(conf->ConfLibInit(), CONF_OK);
    ASSERT_EQ(conf->CreateDeviceList(), CONF_OK);
    ASSERT_EQ(conf->GetDeviceById(FLOW_PLAYBACK, 0, &render), CONF_OK);
    ASSERT_EQ(conf->GetDeviceById(FLOW_RECORDING, 0, &capture), CONF_OK);
  }

  int call(const AudioDeviceInfo& d, std::string_view name, int direction) {
    std::array<uint8_t, PROPERTY_BUFFER_SIZE> value{};
    return conf->PropertyControl(d, name, value, {}, direction);
  }

  FakeAsound proc;
  FakeMixer* mixer = nullptr;
  std::unique_ptr<AlsaAudioConf> conf;
  AudioDeviceInfo render, capture;
  static constexpr std::array<int32_t, 1> kMic{EXTRA_MIC_CHANNEL};
  static constexpr std::array<int32_t, 1> kMonitor{EXTRA_MONITOR_CHANNEL};
};

}  // namespace

TEST(UsbSoundCard, ParsesIds) {
  const auto id = parse_usb_id(" 00c7:1630\n");
  ASSERT_TRUE(id);
  EXPECT_EQ(id->vendor, 0x00C7);
  EXPECT_EQ(id->product, 0x1630);
  EXPECT_EQ(parse_usb_id("00C7:1630")->vendor, 0x00C7);
  EXPECT_FALSE(parse_usb_id("c7:1630"));
  EXPECT_FALSE(parse_usb_id("00c7-1630"));
  EXPECT_FALSE(parse_usb_id("00c7:16300"));
  EXPECT_FALSE(parse_usb_id("zzzz:1630"));
  EXPECT_FALSE(parse_usb_id(""));
}

TEST(UsbSoundCard, FindsTheLowestMatchingCard) {
  FakeAsound proc;
  const UsbId ours{HEADSET_USB_VENDOR, HEADSET_USB_PRODUCT};
  EXPECT_FALSE(find_usb_sound_card(proc.root(), ours));
  proc.card(0, "");
  proc.card(2, "00c7:1631");
  proc.card(5, "1630:00c7");
  EXPECT_FALSE(find_usb_sound_card(proc.root(), ours));
  proc.card(12, "00c7:1630");
  EXPECT_EQ(find_usb_sound_card(proc.root(), ours), 12);
  proc.card(7, "00C7:1630");
  EXPECT_EQ(find_usb_sound_card(proc.root(), ours), 7);
  // Names that only look like cards are not cards.
  fs::create_directories(proc.root() / "cards");
  fs::create_directories(proc.root() / "card1x");
  std::ofstream(proc.root() / "card1x" / "usbid") << "00c7:1630";
  EXPECT_EQ(find_usb_sound_card(proc.root(), ours), 7);
  EXPECT_FALSE(find_usb_sound_card(proc.root() / "missing", ours));
}

TEST_F(AlsaBackend, OpensTheHeadsetsCardAndListsItsEndpoints) {
  EXPECT_EQ(conf->card(), 3);
  EXPECT_EQ(mixer->opened_card, 3);
  EXPECT_EQ(conf->capture_element(), "Mic");
  EXPECT_EQ(conf->monitor_element(), "Mic");
  EXPECT_EQ(render.type, ENDPOINT_HEADPHONES);
  EXPECT_EQ(render.state, ENDPOINT_STATE_ACTIVE);
  EXPECT_EQ(capture.type, ENDPOINT_MICROPHONE);
}

TEST_F(AlsaBackend, DspPropertiesAreUnsupportedNotFaked) {
  for (int b = 0; b < EQ_BANDS; ++b) {
    EXPECT_EQ(call(render, eq_slider_property(b), PROPERTY_WRITE), CONF_ERR_UNSUPPORTED);
    EXPECT_EQ(call(render, eq_slider_property(b), PROPERTY_READ), CONF_ERR_UNSUPPORTED);
  }
  for (auto name : {PROP_ENABLE_EQ, PROP_SURROUND, PROP_ENABLE_RFX, PROP_RFX_ENVIRONMENT,
                    PROP_RFX_ROOMSIZE}) {
    EXPECT_EQ(call(render, name, PROPERTY_WRITE), CONF_ERR_UNSUPPORTED) << name;
    EXPECT_EQ(call(render, name, PROPERTY_READ), CONF_ERR_UNSUPPORTED) << name;
  }
  for (auto name : {PROP_ENABLE_MAGICVOICE, PROP_ENABLE_MICECHO, PROP_MAGICVOICE_SELECTION,
                    PROP_ENABLE_ENC_LFX, PROP_ENC_SELFCALIB}) {
    EXPECT_EQ(call(capture, name, PROPERTY_WRITE), CONF_ERR_UNSUPPORTED) << name;
    EXPECT_EQ(call(capture, name, PROPERTY_READ), CONF_ERR_UNSUPPORTED) << name;
  }
  // Levels belong to the microphone, not to the headphone endpoint.
  EXPECT_EQ(call(render, PROP_VOLUME_SCALAR, PROPERTY_READ), CONF_ERR_UNSUPPORTED);
}

TEST_F(AlsaBackend, FeatureListOffersNoProcessing) {
  PropertyIo io(*conf);
  EXPECT_EQ(io.read_text(render, PROP_SUPPORT_FEATURE), std::string(ALSA_FEATURE_TEXT));
  EXPECT_EQ(io.read_text(capture, PROP_SUPPORT_FEATURE), std::string(ALSA_FEATURE_TEXT));
}

TEST_F(AlsaBackend, MicrophoneLevelMapsOntoTheCaptureControl) {
  PropertyIo io(*conf);
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_MAX_VOL), 12.0);
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_MIN_VOL), -12.0);
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_VOL_STEP), 1.5);
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_VOLUME_SCALAR, kMic), 0.5);
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_VOLUME, kMic), 0.0);
  ASSERT_TRUE(io.write_float(capture, PROP_VOLUME_SCALAR, 0.75f, kMic));
  EXPECT_EQ(mixer->capture["Mic"].value, 12);
  ASSERT_TRUE(io.write_float(capture, PROP_VOLUME_SCALAR, 1.0f, kMic));
  EXPECT_EQ(mixer->capture["Mic"].value, 16);
  EXPECT_FALSE(io.write_float(capture, PROP_VOLUME_SCALAR, 1.25f, kMic));
  EXPECT_EQ(mixer->capture["Mic"].value, 16);
  ASSERT_TRUE(io.write_int(capture, PROP_VOLUME, -6, kMic));
  EXPECT_EQ(mixer->capture["Mic"].value, 4);
  EXPECT_GT(mixer->refreshes, 0);  // changes made by other programs are picked up
}

TEST_F(AlsaBackend, MuteIsTheInverseOfTheAlsaSwitch) {
  PropertyIo io(*conf);
  EXPECT_EQ(*io.read_number(capture, PROP_MUTE), 0.0);
  ASSERT_TRUE(io.write_int(capture, PROP_MUTE, 1));
  EXPECT_FALSE(mixer->capture["Mic"].on);
  EXPECT_EQ(*io.read_number(capture, PROP_MUTE), 1.0);
  EXPECT_FALSE(io.write_int(capture, PROP_MUTE, 2));
  // Monitoring is the microphone's playback control.
  EXPECT_EQ(*io.read_number(capture, PROP_AA_MUTE), 1.0);
  ASSERT_TRUE(io.write_int(capture, PROP_AA_MUTE, 0));
  EXPECT_TRUE(mixer->playback["Mic"].on);
  EXPECT_TRUE(mixer->capture["Mic"].has_switch);
  EXPECT_FALSE(mixer->capture["Mic"].on);  // the capture switch is a different control
  ASSERT_TRUE(io.write_float(capture, PROP_AA_VOLUME_SCALAR, 1.0f, kMonitor));
  EXPECT_EQ(mixer->playback["Mic"].value, 31);
  EXPECT_EQ(mixer->playback["Headset"].value, 30);
}

TEST(AlsaBackendCards, WithoutAMonitorControlMonitoringIsUnsupported) {
  FakeAsound proc;
  proc.card(0, "00c7:1630");
  auto m = headset_mixer();
  m->playback.erase("Mic");
  AlsaAudioConf conf(std::move(m), AlsaAudioConfOptions{proc.root()});
  conf.ConfLibInit();
  conf.CreateDeviceList();
  AudioDeviceInfo capture;
  ASSERT_EQ(conf.GetDeviceById(FLOW_RECORDING, 0, &capture), CONF_OK);
  EXPECT_EQ(conf.monitor_element(), "");
  PropertyIo io(conf);
  EXPECT_FALSE(io.read_number(capture, PROP_AA_MAX_VOL));
  EXPECT_TRUE(io.read_number(capture, PROP_MAX_VOL));
}

TEST(AlsaBackendCards, NoHeadsetCardMeansNoEndpoints) {
  FakeAsound proc;
  proc.card(0, "046d:0a44");
  auto m = headset_mixer();
  auto* mixer = m.get();
  AlsaAudioConf conf(std::move(m), AlsaAudioConfOptions{proc.root()});
  ASSERT_EQ(conf.ConfLibInit(), CONF_OK);
  EXPECT_EQ(conf.CreateDeviceList(), CONF_OK);
  int count = -1;
  conf.GetDeviceCount(FLOW_PLAYBACK, &count);
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(mixer->is_open());
  std::array<uint8_t, 16> value{};
  EXPECT_EQ(conf.PropertyControl({0, ENDPOINT_HEADPHONES, 0, ENDPOINT_STATE_ACTIVE},
                                 PROP_SUPPORT_FEATURE, value, {}, PROPERTY_READ),
            CONF_ERR_NO_DEVICE);
}

TEST(AlsaBackendCards, MissingAlsaFailsInitialisation) {
  AlsaAudioConf conf(std::make_unique<FakeMixer>(), AlsaAudioConfOptions{"/nonexistent/asound"});
  EXPECT_NE(conf.ConfLibInit(), CONF_OK);
  EXPECT_EQ(conf.CreateDeviceList(), CONF_ERR_NOT_INITIALISED);
}

TEST(AlsaBackendCards, HeadsetOnAlsaKeepsPreferencesWhileTheChipCannotApplyThem) {
  FakeAsound proc;
  proc.card(2, "00c7:1630");
  auto m = headset_mixer();
  auto* mixer = m.get();
  AlsaAudioConf conf(std::move(m), AlsaAudioConfOptions{proc.root()});
  fakes::MemoryProfile profile;
  fakes::PanelModel page;
  HeadsetAudio audio(conf, profile, page);
  audio.initialise();
  EXPECT_TRUE(page.messages.empty());
  EXPECT_EQ(audio.stages().mic_in_value, 50);
  EXPECT_EQ(audio.stages().mic_monitor_select, 0);
  EXPECT_TRUE(audio.monitor_available());
  audio.ToggleMicMute();
  EXPECT_FALSE(mixer->capture["Mic"].on);
  EXPECT_EQ(profile.saved_stages.mic_in_select, 0);
  audio.SetMonitorVolume(100);
  EXPECT_EQ(mixer->playback["Mic"].value, 31);
  const int preferred = audio.stages().eq_type;
  audio.ApplyEqPreset(6);
  // The card cannot play presets: the stored choice stays for a computer whose can.
  EXPECT_EQ(profile.saved_stages.eq_type, preferred);
}

TEST(AudioBackendFactory, EmulatorGetsTheEmulatedChip) {
  EXPECT_EQ(audio_backend_for(true), AudioBackendKind::Emulated);
  EXPECT_EQ(audio_backend_for(false), AudioBackendKind::Alsa);
  auto emulated = create_audio_conf(AudioBackendKind::Emulated);
  EXPECT_NE(dynamic_cast<EmulatedAudioChip*>(emulated.get()), nullptr);
  auto alsa = create_audio_conf(AudioBackendKind::Alsa);
  EXPECT_NE(dynamic_cast<AlsaAudioConf*>(alsa.get()), nullptr);
}

TEST(AlsaMixerReal, MissingCardFailsCleanly) {
  AlsaMixer mixer;
  EXPECT_FALSE(mixer.open(99));
  EXPECT_FALSE(mixer.is_open());
  EXPECT_TRUE(mixer.elements().empty());
  EXPECT_FALSE(mixer.volume("Mic", MixerSide::Capture));
  EXPECT_FALSE(mixer.set_switch("Mic", MixerSide::Capture, true));
  mixer.refresh();
  mixer.close();
}
