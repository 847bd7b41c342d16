#!/usr/bin/env bash
# Fails when a layer includes a header of a layer it may not use.
set -u
root=${1:-.}
declare -A allowed=(
  [platform]="platform"
  [core]="core platform"
  [ui]="ui platform"
  [view]="view ui core platform"
  [library]="library view ui core platform"
  [app]="app library view ui core platform"
)
bad=0
for layer in "${!allowed[@]}"; do
  [ -d "$root/$layer" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    inc=$(sed -E 's/.*#include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$line")
    case " ${allowed[$layer]} " in *" $inc "*) ;; *)
      case "$inc" in platform|core|ui|view|library|app)
        echo "$file includes a header of '$inc', which '$layer' may not use"; bad=1;;
      esac;;
    esac
  done < <(grep -rn -E '#include[[:space:]]*"[a-z]+/' "$root/$layer" --include='*.h' --include='*.cpp' || true)
done
if [ $bad -eq 0 ]; then echo "layering: 1 passed, 0 failed"; else echo "layering: 0 passed, 1 failed"; fi
exit $bad
