#!/usr/bin/env bash
# The include check must see through every spelling of a wrong include: on a throwaway copy of the
# tree it passes as the tree is, and fails once each wrong include below is planted.
# Usage: layering_test.sh ROOT
set -u
root=$(cd "${1:-.}" && pwd -P) || exit 2
here=$(dirname "$0")
copy=$(mktemp -d) || exit 2
trap 'rm -rf "$copy"' EXIT
for dir in "$root"/*/; do
  case $(basename "$dir") in build | build-* | obj-* | debian) ;; *) cp -r "$dir" "$copy/" ;; esac
done

failed=0
check() { # EXPECTED_STATUS WHAT
  local out status
  out=$(bash "$here/layering.sh" "$copy" 2>&1)
  status=$?
  if [ "$status" -ne "$1" ]; then
    echo "FAIL: $2: status $status, expected $1"; echo "$out"; failed=1
  else
    echo "ok: $2"
  fi
}

check 0 "the tree as it is"
# FILE (new, so that nothing else is disturbed) and the directive planted in it.
plants=(
  "core/Planted.cpp|#  include \"view/PageFind.h\""
  "core/Planted.cpp|#include <view/PageFind.h>"
  "core/Planted.cpp|#include \"../view/PageFind.h\""
  "core/Planted.cpp|# include <core/../view/PageFind.h>"
  "view/Planted.cpp|#include \"ui/uWenForm_p.h\""
  "tests/Planted.cpp|#include \"../platform/metafile/RecordCodec_p.h\""
  "platform/text/Planted.cpp|#include \"../pdf/PdfDocument.h\""
  "platform/base/Planted.h|#include <platform/text/DrawText.h>"
  "cli/Planted.cpp|#include \"view/EmfViewer.h\""
  "cli/Planted.cpp|#include \"library/uFrmLista.h\""
  "print/Planted.cpp|#include \"ui/okienko.h\""
  "chooser/Planted.cpp|#include \"core/Wydruki.h\""
  "adding/Planted.cpp|#include \"chooser/Explorer.h\""
  "platform/files/Planted.cpp|#include \"platform/text/CodePage.h\""
)
for plant in "${plants[@]}"; do
  file=${plant%%|*}
  printf '%s\n' "${plant#*|}" >"$copy/$file"
  check 1 "${plant#*|} in $file"
  rm -f "$copy/$file"
done
check 0 "the tree again once the plants are gone"
exit $failed
