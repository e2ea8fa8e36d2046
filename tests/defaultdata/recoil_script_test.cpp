// The four factory recoil scripts: the exact event layout the recoil panel and the mouse
// expect, and patterns that actually counter a gun's kick.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/defaultdata/default_data.h"

namespace qxr::test {
namespace {

constexpr int kGuns = 4;
constexpr int kBullets = 30;
constexpr int kEventsPerBullet = 6;
constexpr int kTypeButton = 1, kTypeMoveX = 4, kTypeMoveY = 5;
constexpr int kLeftButton = 0x01;
constexpr int kClickHoldMs = 10, kMoveXWaitMs = 5;
constexpr int kByteMax = 0xFF;       // a move's distance travels as one byte
constexpr int kDelayMax = 0xFFFF;    // a delay travels as two bytes
// Plausible fire rates: from 60 to 1200 rounds per minute.
constexpr int kShotMinMs = 50, kShotMaxMs = 1000;

struct Bullet {
  int dx = 0;  // > 0 right
  int dy = 0;  // > 0 down
  int shot_ms = 0;
};

std::string ScriptName(int gun) { return "ShootData_" + std::to_string(gun) + ".Shoot"; }

void ExpectEvent(const Json::Value& e, const char* action, int button, int delay, int type,
                 const std::string& where) {
  EXPECT_EQ(e["Action"].asString(), action) << where;
  EXPECT_EQ(e["Button"].asInt(), button) << where;
  EXPECT_EQ(e["Delay"].asInt(), delay) << where;
  EXPECT_EQ(e["Type"].asInt(), type) << where;
}

// Checks bullet b's six events and returns the pull it makes.
Bullet ReadBullet(const Json::Value& events, int b) {
  const Json::ArrayIndex i = static_cast<Json::ArrayIndex>(b * kEventsPerBullet);
  const std::string where = "bullet " + std::to_string(b);
  ExpectEvent(events[i], "down", kLeftButton, kClickHoldMs, kTypeButton, where + " click");
  ExpectEvent(events[i + 1], "up", kLeftButton, 0, kTypeButton, where + " release");
  const Json::Value& x = events[i + 2];
  const Json::Value& y = events[i + 3];
  const std::string hx = x["Action"].asString(), vy = y["Action"].asString();
  EXPECT_TRUE(hx == "down" || hx == "up") << where;
  EXPECT_TRUE(vy == "down" || vy == "up") << where;
  ExpectEvent(x, hx.c_str(), x["Button"].asInt(), kMoveXWaitMs, kTypeMoveX, where + " x");
  ExpectEvent(y, vy.c_str(), y["Button"].asInt(), y["Delay"].asInt(), kTypeMoveY, where + " y");
  ExpectEvent(events[i + 4], hx.c_str(), 0, 0, kTypeMoveX, where + " x end");
  ExpectEvent(events[i + 5], vy.c_str(), 0, 0, kTypeMoveY, where + " y end");

  for (const Json::Value* move : {&x, &y}) {
    EXPECT_GE((*move)["Button"].asInt(), 0) << where;
    EXPECT_LE((*move)["Button"].asInt(), kByteMax) << where;
  }
  EXPECT_GE(y["Delay"].asInt(), 0) << where;
  EXPECT_LE(y["Delay"].asInt(), kDelayMax) << where;

  // "down" moves left horizontally and up vertically.
  Bullet bullet;
  bullet.dx = (hx == "down" ? -1 : 1) * x["Button"].asInt();
  bullet.dy = (vy == "down" ? -1 : 1) * y["Button"].asInt();
  bullet.shot_ms = kClickHoldMs + kMoveXWaitMs + y["Delay"].asInt();
  return bullet;
}

std::vector<Bullet> ReadScript(int gun) {
  const Json::Value doc = ReadDefaultDocument(ScriptName(gun));
  const Json::Value& events = doc["Events"];
  EXPECT_EQ(events.size(), static_cast<Json::ArrayIndex>(kBullets * kEventsPerBullet));
  std::vector<Bullet> bullets;
  if (events.size() != kBullets * kEventsPerBullet) return bullets;
  for (int b = 0; b < kBullets; ++b) bullets.push_back(ReadBullet(events, b));
  return bullets;
}

TEST(RecoilScripts, ThirtyBulletsOfSixEventsEach) {
  for (int gun = 0; gun < kGuns; ++gun) {
    SCOPED_TRACE(ScriptName(gun));
    EXPECT_EQ(ReadScript(gun).size(), static_cast<size_t>(kBullets));
  }
}

TEST(RecoilScripts, EveryBulletPullsDownAgainstTheClimbAtAPlausibleRate) {
  for (int gun = 0; gun < kGuns; ++gun) {
    SCOPED_TRACE(ScriptName(gun));
    const std::vector<Bullet> bullets = ReadScript(gun);
    ASSERT_EQ(bullets.size(), static_cast<size_t>(kBullets));
    int total_dy = 0, total_abs_dx = 0;
    for (const Bullet& b : bullets) {
      EXPECT_GT(b.dy, 0) << "each shot climbs, so each pull goes down";
      EXPECT_GE(b.shot_ms, kShotMinMs);
      EXPECT_LE(b.shot_ms, kShotMaxMs);
      EXPECT_EQ(b.shot_ms, bullets[0].shot_ms) << "an automatic fires at one rate";
      total_dy += b.dy;
      total_abs_dx += std::abs(b.dx);
    }
    EXPECT_GT(total_abs_dx, 0) << "no gun climbs perfectly straight";
    EXPECT_LT(total_abs_dx, total_dy) << "the climb dominates the drift";
  }
}

TEST(RecoilScripts, EachGunHasItsOwnPatternAndRate) {
  std::vector<std::vector<Bullet>> scripts;
  for (int gun = 0; gun < kGuns; ++gun) scripts.push_back(ReadScript(gun));
  for (int a = 0; a < kGuns; ++a) {
    for (int b = a + 1; b < kGuns; ++b) {
      ASSERT_EQ(scripts[a].size(), scripts[b].size());
      bool differs = scripts[a][0].shot_ms != scripts[b][0].shot_ms;
      for (size_t i = 0; i < scripts[a].size(); ++i) {
        differs = differs || scripts[a][i].dx != scripts[b][i].dx ||
                  scripts[a][i].dy != scripts[b][i].dy;
      }
      EXPECT_TRUE(differs) << "guns " << a << " and " << b << " share a script";
    }
  }
}

}  // namespace
}  // namespace qxr::test
