#include "editors/lighting/light_words.h"

namespace qxr::editors {

LightWords pack_light_words(const LightInfo& l) {
  LightWords w;
  w.a = uint32_t{l.select_item} | uint32_t{l.light} << 8 | uint32_t{l.speed} << 16 | uint32_t{l.fx} << 24;
  w.b = uint32_t{l.multi_color} | uint32_t{l.red} << 8 | uint32_t{l.green} << 16 | uint32_t{l.blue} << 24;
  return w;
}

LightInfo unpack_light_words(const LightWords& w, const LightInfo& base) {
  LightInfo l = base;
  l.select_item = mode_of(w);
  l.light = brightness_of(w);
  l.speed = speed_of(w);
  l.fx = direction_of(w);
  l.multi_color = seven_colour_of(w);
  set_colour(l, colour_of(w));
  return l;
}

}  // namespace qxr::editors
