// The hourglass over the whole application for the life of the object: long operations
// show it and every way out of them, exceptions included, restores the cursor.
#pragma once

namespace ui {

enum class TBusyCursor { crHourGlass, crAppStart };
using enum TBusyCursor;

class THourGlass {
 public:
  explicit THourGlass(TBusyCursor Cursor = crHourGlass);
  ~THourGlass();
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;
};

}  // namespace ui
