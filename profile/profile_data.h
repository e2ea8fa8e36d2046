#pragma once
// The profile object: one per device. It holds the device's element of its profile file's
// "Device" array in memory and converts between it and the records the device classes
// send. Setters change memory only; Save writes the file.
#include <json/value.h>

#include <string>
#include <vector>

#include "profile/records.h"

namespace qxr {

class CBasicProfiledata {
 public:
  CBasicProfiledata() = default;
  virtual ~CBasicProfiledata() = default;
  CBasicProfiledata(const CBasicProfiledata&) = delete;
  CBasicProfiledata& operator=(const CBasicProfiledata&) = delete;

  // Paths; the setters ignore an empty path.
  void SetProfilePath(const std::string& path);
  const std::string& GetProfilePath() const { return profile_path_; }
  void SetDefaultPath(const std::string& path);
  const std::string& GetDefaultPath() const { return default_path_; }
  void SetConfigPath(const std::string& path);
  const std::string& GetConfigPath() const { return config_path_; }
  void SetDeviceIndex(int index);
  int GetDeviceIndex() const { return device_index_; }

  // Loads "Device"[device index] of the file at path. A file without a usable device
  // object is recreated from the default profile (an unreadable original is kept aside
  // first). False when neither file has one.
  bool LoadProfile(const std::string& path);
  // Loads and keeps the light configuration document (for GetLightEffectList); false when it
  // cannot be read.
  bool LoadConfig(const std::string& path);

  // The documents as loaded, for this folder's code and its tests.
  const Json::Value& GetDeviceObject() const { return device_; }
  const Json::Value& GetConfigDocument() const { return config_; }

  LightInfo GetLightInfo();
  void SetLightInfo(const LightInfo& info);
  AudioLightInfo GetAudioLightInfo();
  void SetAudioLightInfo(const AudioLightInfo& info);
  std::vector<PerLedRecord> GetLightList() const;
  // The steps of the custom effect selected by the cached light record's mode.
  std::vector<LightEffectStep> GetLightEffectList() const;
  std::vector<KeyAssignRecord> GetKeyList();
  // Writes each record's current assignment at its position; never "DefaultAssignment".
  void SetKeyList(const std::vector<KeyAssignRecord>& list);

  // Writes the device object into the profile file. False when nothing was written.
  virtual bool Save();
  // Replaces "Device"[device index] of the file at path with value, keeping the rest.
  virtual bool StoreDeviceObject(const Json::Value& value, const std::string& path);
  // Writes value as the whole file.
  virtual bool WriteDocument(const Json::Value& value, const std::string& path);

 protected:
  // The device object for members the subclasses read and write.
  Json::Value& device() { return device_; }
  const Json::Value& device() const { return device_; }

 private:
  std::string profile_path_;
  std::string default_path_;
  std::string config_path_;
  int device_index_ = 0;
  Json::Value device_;
  Json::Value config_;

  LightInfo light_cache_;
  const LightInfo default_light_{};
  AudioLightInfo audio_cache_;
  std::vector<KeyAssignRecord> key_cache_;
};

}  // namespace qxr
