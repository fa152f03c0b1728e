#include "editor/ExchangeFile.h"

namespace editor {

std::string ExchangeFileName(const std::string& StartDir) { return StartDir + "/gif.dat"; }

void WriteExchangeFile(const std::string& StartDir, graphics::TGraphic& Image) {
  Image.SaveToFile(ExchangeFileName(StartDir));
}

void ReadExchangeFile(const std::string& StartDir, graphics::TGraphic& Image) {
  Image.LoadFromFile(ExchangeFileName(StartDir));
}

}  // namespace editor
