#!/usr/bin/env bash
# Fails when a layer includes a header of a layer it may not use, when a platform subsystem includes
# one of a subsystem it may not use, or when a header private to a subsystem (*_p.h) is included
# from outside its folder.
set -u
root=${1:-.}
declare -A allowed=(
  [platform]="platform"
  [core]="core platform"
  [ui]="ui platform"
  [view]="view ui core platform"
  [print]="print view ui core platform"
  [library]="library print view ui core platform"
  [app]="app library print view ui core platform"
  [cli]="cli library print view core platform"
)
# The subsystems of platform/, each with those it may use (none may use one above it).
declare -A subsystems=(
  [base]="base"
  [text]="text base"
  [metafile]="metafile text base"
  [pdf]="pdf metafile text base"
  [printer]="printer pdf metafile text base"
  [emf]="emf text base"
  [richtext]="richtext emf text base"
)
bad=0
for layer in "${!allowed[@]}"; do
  [ -d "$root/$layer" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    inc=$(sed -E 's/.*#include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$line")
    case " ${allowed[$layer]} " in *" $inc "*) ;; *)
      case "$inc" in platform|core|ui|view|print|library|app|cli)
        echo "$file includes a header of '$inc', which '$layer' may not use"; bad=1;;
      esac;;
    esac
  done < <(grep -rn -E '#include[[:space:]]*"[a-z]+/' "$root/$layer" --include='*.h' --include='*.cpp' || true)
done

if [ -d "$root/platform" ]; then
  for dir in "$root"/platform/*/; do
    sub=$(basename "$dir")
    if [ -z "${subsystems[$sub]+set}" ]; then
      echo "platform/$sub is not a known subsystem: add it to layering.sh with the ones it may use"; bad=1
    fi
  done
  for sub in "${!subsystems[@]}"; do
    [ -d "$root/platform/$sub" ] || continue
    while IFS= read -r line; do
      file=${line%%:*}
      inc=$(sed -E 's/.*#include[[:space:]]*"platform\/([^"]*)".*/\1/' <<<"$line")
      case "$inc" in
        */*) used=${inc%%/*} ;;
        *) echo "$file includes platform/$inc, which is in no subsystem"; bad=1; continue ;;
      esac
      case " ${subsystems[$sub]} " in *" $used "*) ;; *)
        echo "$file includes platform/$inc, which subsystem '$sub' may not use"; bad=1;;
      esac
    done < <(grep -rn -E '#include[[:space:]]*"platform/' "$root/platform/$sub" --include='*.h' --include='*.cpp' || true)
  done
fi

# Private headers: only from their own subsystem's folder.
while IFS= read -r line; do
  file=${line%%:*}
  inc=$(sed -E 's/.*#include[[:space:]]*"(platform\/[^"]*_p\.h)".*/\1/' <<<"$line")
  owner=$(dirname "$inc")
  case "${file#"$root"/}" in "$owner"/*) ;; *)
    echo "$file includes $inc, which is private to $owner"; bad=1;;
  esac
done < <(grep -rn -E '#include[[:space:]]*"platform/[^"]*_p\.h"' "$root" --include='*.h' --include='*.cpp' \
           --exclude-dir=build --exclude-dir='build-*' --exclude-dir=.git || true)

if [ $bad -eq 0 ]; then echo "layering: 1 passed, 0 failed"; else echo "layering: 0 passed, 1 failed"; fi
exit $bad
