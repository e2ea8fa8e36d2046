// The skin index, the loader and the classes it creates by name.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>

#include "core/debug_line.h"
#include "ui/control_cache.h"
#include "ui/control_factory.h"
#include "ui/controls/circle_progress.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/hand_img_button.h"
#include "ui/controls/hand_img_select_button.h"
#include "ui/controls/redio_macro_button.h"
#include "ui/controls/select_panel.h"
#include "ui/controls/wnd_host.h"
#include "ui/skin_loader.h"
#include "ui/skin_resources.h"
#include "ui_test_support.h"

using namespace qxr::ui;
using namespace qxr::ui::testing;

namespace {

void write(const QString& path, const QByteArray& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

class TestPage : public QWidget, public SkinControl {
 public:
  using QWidget::QWidget;
  QString className() const override { return QStringLiteral("TestPage"); }
  bool set_attribute(const QString&, const QVariant&) override { return false; }
};

}  // namespace

TEST(SkinResources, ResolvesIndexNamesAndFiles) {
  const auto res = SkinResources::open(test_skin_dir());
  ASSERT_TRUE(res);
  EXPECT_EQ(res->resolve(QStringLiteral("XML_CONTROLS")), QDir(test_skin_dir()).filePath(QStringLiteral("Controls.ui")));
  EXPECT_EQ(res->resolve(QStringLiteral("ChromeWnd.ui")), QDir(test_skin_dir()).filePath(QStringLiteral("ChromeWnd.ui")));
  EXPECT_TRUE(res->resolve(QStringLiteral("XML_NOTHING")).isEmpty());
  EXPECT_TRUE(res->resolve(QStringLiteral("XML_MISSING")).isEmpty());  // listed, but no file
  EXPECT_TRUE(res->resolve(QString()).isEmpty());
  EXPECT_EQ(res->file_path(QStringLiteral("images\\a.png")), QDir(test_skin_dir()).filePath(QStringLiteral("images/a.png")));
}

TEST(SkinResources, RefusesAMissingOrBrokenIndex) {
  QTemporaryDir dir;
  EXPECT_FALSE(SkinResources::open(dir.path()));
  write(dir.filePath(QStringLiteral("res.xml")), "<Res><Skin name=\"XML_A\" file=\"a.ui\"></Res>");
  EXPECT_FALSE(SkinResources::open(dir.path()));
  write(dir.filePath(QStringLiteral("res.xml")), "<Res><Skin name=\"XML_A\" file=\"a.ui\"/><Skin file=\"b.ui\"/></Res>");
  const auto res = SkinResources::open(dir.path());
  ASSERT_TRUE(res);
  EXPECT_EQ(res->names(), QStringList{QStringLiteral("XML_A")});
}

TEST(SkinResources, TheSourceTreeComesFirstWhenNamed) {
  const QStringList dirs = SkinResources::search_dirs();
  ASSERT_FALSE(dirs.isEmpty());
  if (!qEnvironmentVariableIsEmpty(kSourceDirEnv)) {
    EXPECT_EQ(QDir::cleanPath(dirs.front()), QDir::cleanPath(QDir(source_dir()).filePath(QStringLiteral("skin"))));
  }
  const auto found = SkinResources::locate();
  ASSERT_TRUE(found);
  EXPECT_FALSE(found->resolve(QStringLiteral("XML_MSG")).isEmpty());
}

TEST(SkinResources, EveryEntryOfTheRealIndexBuilds) {
  const SkinResources& real = SkinResources::global();
  ASSERT_FALSE(real.names().isEmpty());
  for (const QString& name : real.names()) {
    SkinLoader loader;
    std::unique_ptr<QWidget> root(loader.load_skin(name));
    EXPECT_NE(root, nullptr) << name.toStdString();
    if (root) {
      EXPECT_EQ(root->objectName(), QStringLiteral("root")) << name.toStdString();
    }
  }
}

TEST(SkinLoader, CreatesTheProgramsClassesByName) {
  const auto res = SkinResources::open(test_skin_dir());
  ASSERT_TRUE(res);
  SkinLoader loader(ControlFactory::global(), *res);
  std::unique_ptr<QWidget> root(loader.load_skin(QStringLiteral("XML_CONTROLS")));
  ASSERT_NE(root, nullptr);

  auto* panel = root->findChild<CSelectPanelUI*>(QStringLiteral("device_key_light"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(control_class(panel), QStringLiteral("SelectPanel"));
  const auto keys = key_buttons(panel);
  ASSERT_EQ(keys.size(), 4);
  // Declared by its short name in the skin, created as the same class.
  EXPECT_EQ(keys[3]->objectName(), QStringLiteral("key_3"));
  EXPECT_EQ(control_class(keys[3]), QStringLiteral("DeviceKeyButton"));
  EXPECT_EQ(keys[0]->parentWidget(), panel);
  EXPECT_EQ(keys[0]->geometry(), QRect(10, 10, 40, 40));

  EXPECT_EQ(control_class(root->findChild<QWidget*>(QStringLiteral("progress_ring"))), QStringLiteral("CircleProgress"));
  EXPECT_EQ(control_class(root->findChild<QWidget*>(QStringLiteral("hand_btn"))), QStringLiteral("HandImgButton"));
  EXPECT_EQ(control_class(root->findChild<QWidget*>(QStringLiteral("hand_select_btn"))),
            QStringLiteral("HandImgSelectButton"));
  EXPECT_EQ(control_class(root->findChild<QWidget*>(QStringLiteral("macro_btn_starredio"))),
            QStringLiteral("RedioMacroButton"));
  EXPECT_EQ(control_class(root->findChild<QWidget*>(QStringLiteral("wnd_host"))), QStringLiteral("Wnd"));
  EXPECT_EQ(control_class(root->findChild<QWidget*>(QStringLiteral("plain_btn"))), QStringLiteral("QPushButton"));
}

TEST(SkinLoader, BuildsUnknownClassesAsTheirBase) {
  const auto res = SkinResources::open(test_skin_dir());
  ASSERT_TRUE(res);
  SkinLoader loader(ControlFactory::global(), *res);
  std::unique_ptr<QWidget> root(loader.load_skin(QStringLiteral("XML_UNKNOWN")));
  ASSERT_NE(root, nullptr);
  QWidget* unknown = root->findChild<QWidget*>(QStringLiteral("unknown_thing"));
  ASSERT_NE(unknown, nullptr);
  EXPECT_EQ(dynamic_cast<SkinControl*>(unknown), nullptr);
  EXPECT_EQ(control_class(unknown), QStringLiteral("QWidget"));
}

TEST(SkinLoader, AppliesSkinAttributesWhateverTheirCase) {
  const auto res = SkinResources::open(test_skin_dir());
  ASSERT_TRUE(res);
  SkinLoader loader(ControlFactory::global(), *res);
  std::unique_ptr<QWidget> root(loader.load_skin(QStringLiteral("XML_CONTROLS")));
  ASSERT_NE(root, nullptr);
  auto* key = root->findChild<CDeviceKeyButtonUI*>(QStringLiteral("key_0"));
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->light_image(), QStringLiteral("images/light.png"));    // "LightImage"
  EXPECT_EQ(key->keyset_image(), QStringLiteral("images/keyset.png"));  // "KEYSETIMAGE"
  EXPECT_EQ(key->gm_name_text_colour(), QColor(255, 128, 0));
  // Attributes a control does not take stay readable as properties (the pages' user data).
  EXPECT_EQ(key->property("userdata").toString(), QStringLiteral("light_0"));

  auto* ring = root->findChild<CCircleProgressUI*>(QStringLiteral("progress_ring"));
  ASSERT_NE(ring, nullptr);
  EXPECT_EQ(ring->background_colour(), QColor(0x20, 0x30, 0x40));
  EXPECT_EQ(ring->foreground_colour(), QColor(0, 255, 0));
  EXPECT_EQ(ring->minimum(), 10);
  EXPECT_EQ(ring->value(), 35);

  auto* hand = root->findChild<CHandImgButtonUI*>(QStringLiteral("hand_btn"));
  ASSERT_NE(hand, nullptr);
  EXPECT_EQ(hand->hand_image(), QStringLiteral("file='images/hand.png' fade='200'"));
  auto* select = root->findChild<CHandImgSelectButtonUI*>(QStringLiteral("hand_select_btn"));
  ASSERT_NE(select, nullptr);
  EXPECT_EQ(select->cursor().shape(), Qt::PointingHandCursor);
  auto* rec = root->findChild<CRedioMacroButtonUI*>(QStringLiteral("macro_btn_starredio"));
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec->blink_image(), QStringLiteral("images/rec.png"));

  // Set at run time, the same way.
  key->setProperty("LIGHTIMAGE", QStringLiteral("images/other.png"));
  EXPECT_EQ(key->light_image(), QStringLiteral("images/other.png"));
}

TEST(SkinLoader, UsesTheCreatorsAProgramRegisters) {
  const auto res = SkinResources::open(test_skin_dir());
  ASSERT_TRUE(res);
  ControlFactory factory;
  EXPECT_FALSE(factory.register_class(QString(), [](QWidget* p) { return new QWidget(p); }));
  EXPECT_FALSE(factory.register_class(QStringLiteral("X"), nullptr));
  register_builtin_controls(factory);
  int made = 0;
  ASSERT_TRUE(factory.register_class(QStringLiteral("CUnknownThingUI"), [&made](QWidget* parent) {
    ++made;
    return new TestPage(parent);
  }));
  SkinLoader loader(factory, *res);
  std::unique_ptr<QWidget> root(loader.load_skin(QStringLiteral("XML_UNKNOWN")));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(made, 1);
  QWidget* page = root->findChild<QWidget*>(QStringLiteral("unknown_thing"));
  EXPECT_EQ(control_class(page), QStringLiteral("TestPage"));
}

TEST(SkinLoader, ReportsWhatCannotBeBuilt) {
  const auto res = SkinResources::open(test_skin_dir());
  ASSERT_TRUE(res);
  SkinLoader loader(ControlFactory::global(), *res);
  qxr::DebugCapture capture;
  EXPECT_EQ(loader.load_skin(QStringLiteral("XML_MISSING")), nullptr);
  EXPECT_EQ(loader.load_skin(QStringLiteral("XML_NOTHING")), nullptr);
  EXPECT_EQ(loader.load_skin(QStringLiteral("XML_BROKEN")), nullptr);
  EXPECT_EQ(capture.count("not found", true), 2);
  EXPECT_EQ(capture.count("Broken.ui", true), 1);
}

TEST(ControlCache, FindsOnceAndForgetsWhatIsGone) {
  QWidget root;
  root.setObjectName(QStringLiteral("root"));
  ControlCache cache(&root);
  EXPECT_EQ(cache.find(QStringLiteral("root")), &root);
  EXPECT_EQ(cache.find(QStringLiteral("later_btn")), nullptr);
  auto* inner = new QWidget(&root);
  auto* button = new QLabel(inner);
  button->setObjectName(QStringLiteral("later_btn"));
  EXPECT_EQ(cache.find(QStringLiteral("later_btn")), button);  // a miss was not remembered
  EXPECT_EQ(cache.find<QLabel>(QStringLiteral("later_btn")), button);
  EXPECT_EQ(cache.find<QProgressBar>(QStringLiteral("later_btn")), nullptr);
  button->setObjectName(QStringLiteral("renamed"));
  EXPECT_EQ(cache.find(QStringLiteral("later_btn")), button);  // cached on first use
  delete button;
  EXPECT_EQ(cache.find(QStringLiteral("later_btn")), nullptr);
}
