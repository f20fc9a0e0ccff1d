#include "wavefile/ImpulseFileChooser.h"

FileChooser::Outcome chooseImpulseFile(FileChooser& chooser, void* ownerWindow, const FileChosen& load) {
  return chooser.choose(kImpulseFileRequest, ownerWindow, load);
}
