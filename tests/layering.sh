#!/usr/bin/env bash
# Fails when a layer includes a header of a layer it may not use, when a platform subsystem includes
# one of a subsystem it may not use, or when a header private to its folder (*_p.h) is included from
# outside that folder.
#
# Usage: layering.sh [ROOT [BUILD]]
# Every include directive is resolved the way the compiler resolves it (beside the including file,
# then from ROOT), whatever its spelling: "#  include", <dir/...> or "../dir/...". With BUILD, a Ninja
# build folder, the compiler's own dependency lists are checked as well, which also catches headers
# reached through macros or other include paths.
set -u
root=${1:-.}
build=${2:-}
root=$(cd "$root" && pwd -P) || exit 2

# Each layer with those it may include directly.
declare -A allowed=(
  [platform]="platform"
  [core]="core platform"
  [print]="print platform"
  [ui]="ui platform"
  [view]="view ui print core platform"
  [printdialog]="printdialog view ui print core platform"
  [chooser]="chooser ui platform"
  [adding]="adding core platform"
  [install]="install platform"
  [library]="library printdialog view chooser adding ui print core platform"
  [app]="app library install printdialog view chooser adding ui print core platform"
  [cli]="cli adding install print core platform"
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
  [files]="files base"
  [versioninfo]="versioninfo base"
)

bad=0
if [ -d "$root/platform" ]; then
  for dir in "$root"/platform/*/; do
    sub=$(basename "$dir")
    if [ -z "${subsystems[$sub]+set}" ]; then
      echo "platform/$sub is not a known subsystem: add it to layering.sh with the ones it may use"; bad=1
    fi
  done
fi

# The rules as lines the checker reads: "layer NAME USES..." and "sub NAME USES...".
rules() {
  local k
  for k in "${!allowed[@]}"; do echo "layer $k ${allowed[$k]}"; done
  for k in "${!subsystems[@]}"; do echo "sub $k ${subsystems[$k]}"; done
}

# Reads the rules, then lines "FROM<TAB>TO<TAB>WHERE" (paths relative to ROOT) and prints each
# breach. A transitive list (the compiler's) is checked against what each layer may reach through
# the ones it uses.
checker='
function closure(map, name,    seen, todo, n, i, k, parts, out) {
  n = split(map[name], parts, " ")
  for (i = 1; i <= n; i++) { seen[parts[i]] = 1; todo[parts[i]] = 1 }
  while (length(todo) > 0) {
    for (k in todo) break
    delete todo[k]
    n = split(map[k], parts, " ")
    for (i = 1; i <= n; i++) if (!(parts[i] in seen)) { seen[parts[i]] = 1; todo[parts[i]] = 1 }
  }
  out = " "
  for (k in seen) out = out k " "
  return out
}
function folder(p) { return sub(/\/[^\/]*$/, "", p) ? p : "." }
FNR == NR {
  kind = $1; name = $2; list = ""
  for (i = 3; i <= NF; i++) list = list " " $i
  if (kind == "layer") layer[name] = list; else subsys[name] = list
  next
}
{
  split($0, f, "\t"); from = f[1]; to = f[2]; where = f[3]
  split(from, a, "/"); split(to, b, "/")
  if (b[1] in layer && a[1] in layer && a[1] != b[1]) {
    uses = transitive ? closure(layer, a[1]) : " " layer[a[1]] " "
    if (index(uses, " " b[1] " ") == 0)
      print where ": includes " to ", which \x27" a[1] "\x27 may not use"
  }
  if (a[1] == "platform" && b[1] == "platform" && a[2] != b[2]) {
    if (!(b[2] in subsys)) print where ": includes " to ", which is in no subsystem"
    else if (a[2] in subsys) {
      uses = transitive ? closure(subsys, a[2]) : " " subsys[a[2]] " "
      if (index(uses, " " b[2] " ") == 0)
        print where ": includes " to ", which subsystem \x27" a[2] "\x27 may not use"
    }
  }
  if (to ~ /_p\.h$/ && folder(to) != folder(from))
    print where ": includes " to ", which is private to " folder(to)
}'

# Resolves "FILE:LINE:DIRECTIVE" lines to "FROM<TAB>TO<TAB>FILE:LINE" for headers of the tree.
resolver='
function normal(p,    n, i, parts, out, depth, stack) {
  n = split(p, parts, "/"); depth = 0
  for (i = 1; i <= n; i++) {
    if (parts[i] == "" || parts[i] == ".") continue
    if (parts[i] == "..") { if (depth == 0) return ""; depth--; continue }
    stack[++depth] = parts[i]
  }
  out = ""
  for (i = 1; i <= depth; i++) out = out (i > 1 ? "/" : "") stack[i]
  return out
}
FNR == NR { known[$0] = 1; next }
{
  file = $0; sub(/:.*/, "", file)
  rest = substr($0, length(file) + 2); line = rest; sub(/:.*/, "", line)
  text = substr(rest, length(line) + 2)
  if (!match(text, /#[ \t]*include[ \t]*[<"][^>"]+[>"]/)) next
  directive = substr(text, RSTART, RLENGTH); sub(/^#[ \t]*include[ \t]*/, "", directive)
  quoted = substr(directive, 1, 1) == "\""; target = substr(directive, 2, length(directive) - 2)
  dir = file; if (!sub(/\/[^\/]*$/, "", dir)) dir = "."
  to = ""
  if (quoted) { c = normal(dir "/" target); if (c in known) to = c }
  if (to == "") { c = normal(target); if (c in known) to = c }
  if (to != "") print file "\t" to "\t" file ":" line
}'

files=$(mktemp) || exit 2
trap 'rm -f "$files"' EXIT
(cd "$root" && find . \( -name .git -o -name 'build' -o -name 'build-*' -o -name 'obj-*' -o -name debian \) -prune \
   -o -type f \( -name '*.h' -o -name '*.cpp' \) -print | sed 's|^\./||' | LC_ALL=C sort) >"$files"

found=$(cd "$root" && tr '\n' '\0' <"$files" \
  | xargs -0 grep -H -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' 2>/dev/null \
  | awk "$resolver" "$files" - \
  | awk -v transitive=0 "$checker" <(rules) -)
if [ -n "$found" ]; then echo "$found"; bad=1; fi

# The compiler's view: each object's source with every header of the tree it was built with.
if [ -n "$build" ] && [ -f "$build/.ninja_deps" ] && command -v ninja >/dev/null; then
  build=$(cd "$build" && pwd -P)
  found=$(ninja -C "$build" -t deps 2>/dev/null | awk -v root="$root/" -v build="$build/" '
    function normal(p,    n, i, parts, out, depth, stack) {
      n = split(p, parts, "/"); depth = 0
      for (i = 1; i <= n; i++) {
        if (parts[i] == "" || parts[i] == ".") continue
        if (parts[i] == "..") { if (depth > 0) depth--; continue }
        stack[++depth] = parts[i]
      }
      out = ""
      for (i = 1; i <= depth; i++) out = out "/" stack[i]
      return out
    }
    /^[^ \t].*: #deps/ { first = 1; source = ""; next }
    /^[ \t]+/ {
      p = $1
      if (!first && source == "") next
      if (substr(p, 1, 1) != "/") p = build p
      p = normal(p) "/"
      inside = index(p, root) == 1
      p = substr(p, length(root) + 1); sub(/\/$/, "", p)
      if (p ~ /^(build|build-[^\/]*|obj-[^\/]*)\//) inside = 0
      # The first dependency is the source itself; objects built from generated sources are skipped.
      if (first) { first = 0; if (inside) source = p; next }
      if (!inside) next
      print source "\t" p "\t" source " (compiled)"
    }' | LC_ALL=C sort -u | awk -v transitive=1 "$checker" <(rules) -)
  if [ -n "$found" ]; then echo "$found"; bad=1; fi
fi

if [ $bad -eq 0 ]; then echo "layering: 1 passed, 0 failed"; else echo "layering: 0 passed, 1 failed"; fi
exit $bad
