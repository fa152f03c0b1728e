#include "install/ArchiveLocation.h"

#include <QCoreApplication>

namespace install {

std::string ArchiveBesideProgram() { return QCoreApplication::applicationDirPath().toStdString() + "/Animora.dat"; }

}  // namespace install
