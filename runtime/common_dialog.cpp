#include "runtime/common_dialog.h"

void CommonDialog::ShowOpen() {
  OpenFileRequest request{Flags, DialogTitle, Filter, MaxFileSize, InitDir, FileName};
  world_.ShowOpen(owner_, request);
  FileName = request.fileName;
  Error = request.error;
}
