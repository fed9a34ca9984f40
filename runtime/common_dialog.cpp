#include "runtime/common_dialog.h"

void CommonDialog::ShowOpen() {
  OpenFileRequest request{Flags, DialogTitle, Filter, MaxFileSize, FileName};
  world_.ShowOpen(owner_, request);
  FileName = request.fileName;
}
