// vigil-asset-gen DIRECTORY
//
// Draws the demo's gauge dials (light and dark), the 33 pointer pictures
// and a few images into DIRECTORY. Exits 1 when a file cannot be written.
#include <QCoreApplication>
#include <cstdio>

#include "asset-gen/asset_set.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vigil-asset-gen DIRECTORY\n");
    return 2;
  }
  // The JPEG writer is a plug-in, found through the application.
  QCoreApplication application(argc, argv);
  const auto report = vigil::asset_gen::WriteAssets(argv[1]);
  if (!report.error.isEmpty()) {
    std::fprintf(stderr, "vigil-asset-gen: %s\n",
                 report.error.toLocal8Bit().constData());
    return 1;
  }
  std::printf("vigil-asset-gen: %zu pictures in %s\n", report.written.size(),
              argv[1]);
  return 0;
}
