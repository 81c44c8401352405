#!/usr/bin/env bash
# Fails when a file reaches up a layer: ftp/ (QorFtp) includes Qt; a core folder includes a
# widgets header or a widget folder; a widget folder includes app/; a folder's CMakeLists.txt
# compiles another folder's file. The layers, bottom up:
#   ftp/  ->  settings/ servers/ operations/ scripts/  ->  dialogs/  ->  tree/ filelist/  ->  app/
set -euo pipefail
cd "$(dirname "$0")/.."
core="settings servers operations scripts"
failed=0
report() {
    echo "layers: $1" >&2
    failed=1
}
sources() { find "$@" -maxdepth 1 \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null; }

while IFS= read -r hit; do report "$hit (the library is Qt-free)"; done \
    < <(sources ftp | xargs grep -nE '#include *<Q|#include *<qt' || true)
for folder in $core; do
    while IFS= read -r hit; do report "$hit (core folders use QtCore at most)"; done \
        < <(sources "$folder" | xargs grep -nE '#include *<(QtWidgets|QtGui|QWidget|QDialog|QAction|QIcon|QPixmap|QApplication|QGuiApplication|QMessageBox|QPainter|QLabel|QLineEdit|QPushButton|QTreeView|QListView)[/>]|#include *"(app|tree|filelist|dialogs)/' || true)
done
while IFS= read -r hit; do report "$hit (dialogs sit below the panes and the frame)"; done \
    < <(sources dialogs | xargs grep -nE '#include *"(app|tree|filelist)/' || true)
while IFS= read -r hit; do report "$hit (the panes talk through signals, connected in app/)"; done \
    < <( (sources tree | xargs grep -nE '#include *"(app|filelist)/' || true; \
          sources filelist | xargs grep -nE '#include *"(app|tree)/' || true) )
for list in $(find ftp settings servers operations scripts dialogs tree filelist app -maxdepth 1 -name CMakeLists.txt 2>/dev/null); do
    while IFS= read -r hit; do report "$list: $hit (a folder compiles only its own files)"; done \
        < <(grep -nE '\.\./|CMAKE_SOURCE_DIR\}/[a-z]+/[A-Za-z]+\.cpp|PROJECT_SOURCE_DIR\}/[a-z]+/[A-Za-z]+\.cpp' "$list" || true)
done
if [[ $failed -eq 0 ]]; then
    echo "layers: every arrow points down"
fi
exit $failed
