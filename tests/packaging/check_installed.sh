#!/bin/bash
# Installs the build the way a user gets it, into a scratch folder, and checks
# that the installed copy works as the build does and that its desktop files
# pass their validators. Never touches the machine's own folders.
#
#   check_installed.sh install BUILD SOURCE VERSION   make install into a DESTDIR
#   check_installed.sh deb     BUILD SOURCE VERSION   the .deb, unpacked with dpkg-deb -x
set -u
# What a user's machine gets, whatever this shell's umask.
umask 022

mode=$1 build=$(realpath "$2") source=$(realpath "$3") version=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# Runs a command; on failure shows its output and counts the failure.
expect_ok() {
  local what=$1
  shift
  local output
  if ! output=$("$@" 2>&1); then
    fail "$what"
    printf '%s\n' "$output" | sed 's/^/    /'
  fi
}

case $mode in
  install)
    prefix=/usr/local
    if ! DESTDIR="$scratch/root" cmake --install "$build" --prefix "$prefix" --strip > "$scratch/install.log" 2>&1; then
      cat "$scratch/install.log"
      fail "cmake --install"
      exit 1
    fi
    ;;
  deb)
    prefix=/usr
    if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" > "$scratch/cpack.log" 2>&1; then
      cat "$scratch/cpack.log"
      fail "cpack"
      exit 1
    fi
    debs=("$scratch"/package/*.deb)
    if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
      fail "cpack made no single .deb: ${debs[*]}"
      exit 1
    fi
    deb=${debs[0]}
    [ "$(basename "$deb")" = "penwick_${version}_$(dpkg --print-architecture).deb" ] ||
      fail "package file name $(basename "$deb")"
    [ "$(dpkg-deb -f "$deb" Package)" = penwick ] || fail "Package: $(dpkg-deb -f "$deb" Package)"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version: $(dpkg-deb -f "$deb" Version), wanted $version"
    depends=$(dpkg-deb -f "$deb" Depends)
    # Every Qt library the editor links directly must be named.
    for library in $(readelf -d "$build/bin/penwick" | sed -n 's/.*NEEDED.*\[\(libQt6[^]]*\)\].*/\1/p'); do
      package=$(dpkg -S "*/$library" 2>/dev/null | head -1 | cut -d: -f1)
      [ -n "$package" ] || { fail "no package owns $library"; continue; }
      case ", $depends," in *", $package "* | *", $package,"*) ;; *) fail "Depends lacks $package (for $library): $depends" ;; esac
    done
    case ", $depends," in *", libqt6widgets6 "* | *", libqt6widgets6,"*) ;; *) fail "Depends lacks libqt6widgets6: $depends" ;; esac
    [ "$(dpkg-deb -f "$deb" Recommends)" = wine ] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
    dpkg-deb -x "$deb" "$scratch/root" || { fail "dpkg-deb -x"; exit 1; }
    # Folders anyone may enter, files owned by root.
    closed=$(dpkg-deb -c "$deb" | awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" {print $1, $6}')
    [ -z "$closed" ] || fail "folders not open to everyone: $closed"
    owners=$(dpkg-deb -c "$deb" | awk '$2 != "root/root" {print $2, $6}')
    [ -z "$owners" ] || fail "files not owned by root: $owners"
    # Every file of the package lies below /usr.
    outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./usr/' | grep -v '^\./$')
    [ -z "$outside" ] || fail "files outside /usr: $outside"
    ;;
  *)
    echo "usage: $0 install|deb BUILD SOURCE VERSION"
    exit 2
    ;;
esac

root=$scratch/root$prefix
programs=$root/lib/penwick

# --- The programs, reached through their links -----------------------------
for program in penwick penwick-cli; do
  link=$root/bin/$program
  if [ ! -L "$link" ]; then
    fail "bin/$program is not a link"
  elif [ "$(readlink -f "$link")" != "$(realpath "$programs/$program")" ]; then
    fail "bin/$program leads to $(readlink -f "$link")"
  fi
  [ -x "$programs/$program" ] || fail "lib/penwick/$program is not an executable"
done
for file in "$programs"/mis2.lcf "$programs"/Themes/*.lcf; do
  cmp -s "$source/themes/$(basename "$file")" "$file" || fail "${file#"$programs"/} differs from themes/"
done
if [ -f "$build/bin/penwick-compile-bridge.exe" ]; then
  [ -f "$programs/penwick-compile-bridge.exe" ] || fail "the compile bridge is not installed"
fi

sample=$source/examples/sample.mis
"$build/bin/penwick-cli" tokens "$sample" > "$scratch/tokens.build" 2>&1 || fail "the build's penwick-cli tokens"
"$root/bin/penwick-cli" tokens "$sample" > "$scratch/tokens.installed" 2>&1 || fail "the installed penwick-cli tokens"
[ -s "$scratch/tokens.build" ] || fail "the build's penwick-cli printed no tokens"
cmp -s "$scratch/tokens.build" "$scratch/tokens.installed" ||
  fail "the installed penwick-cli tokenises the sample differently: $(diff "$scratch/tokens.build" "$scratch/tokens.installed" | head -5)"
"$build/bin/penwick-cli" tokens --lexer "$build/bin/mis2.lcf" "$sample" > "$scratch/lcf.build" 2>&1 ||
  fail "the build's penwick-cli tokens --lexer"
"$root/bin/penwick-cli" tokens --lexer "$programs/mis2.lcf" "$sample" > "$scratch/lcf.installed" 2>&1 ||
  fail "the installed penwick-cli tokens --lexer"
[ -s "$scratch/lcf.build" ] || fail "the build's penwick-cli printed no tokens with --lexer"
cmp -s "$scratch/lcf.build" "$scratch/lcf.installed" || fail "tokens with the installed mis2.lcf differ from the build's"

# The editor answers --paths without a display, from an empty working folder
# (so mis2.lcf can only come from beside the program) and an empty home.
mkdir -p "$scratch/cwd" "$scratch/home"
paths=$(cd "$scratch/cwd" && env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u DISPLAY -u WAYLAND_DISPLAY \
  HOME="$scratch/home" "$root/bin/penwick" --paths 2>&1) || fail "penwick --paths: $paths"
expect_line() {
  grep -qxF -- "$1" <<< "$paths" || fail "penwick --paths lacks \"$1\"; it printed:
$paths"
}
real_programs=$(realpath "$programs")
expect_line "program folder: $real_programs"
expect_line "language file: $real_programs/mis2.lcf"
expect_line "theme \"Tallowby Theme\": $real_programs/Themes/Tallowby.lcf"
expect_line "theme \"Dark Theme\": $real_programs/Themes/Dark.lcf"
# Every theme the editor lists is installed.
! grep -q '^theme .*(missing)$' <<< "$paths" || fail "a theme is not installed: $(grep '^theme ' <<< "$paths")"
# An installed copy keeps its settings in the user's config folder, even
# where its own folder is writable (as it is here).
expect_line "settings file: $scratch/home/.config/penwick/penwick.ini (missing)"
# The compiler: beside the program, then in the user's data folder.
expect_line "compiler: $real_programs/compiler/compiler.exe (missing)"
expect_line "compiler: $scratch/home/.local/share/penwick/compiler/compiler.exe (missing)"
[ ! -e "$programs/penwick.ini" ] || fail "penwick --paths wrote beside the program"
version_line=$("$root/bin/penwick" --version 2>&1)
[ "$version_line" = "Penwick $version" ] || fail "penwick --version printed \"$version_line\""

# --- The desktop's files ------------------------------------------------------
desktop=$root/share/applications/penwick.desktop
mime=$root/share/mime/packages/penwick-mis.xml
metainfo=$root/share/metainfo/org.varnok.Penwick.metainfo.xml
for file in "$desktop" "$mime" "$metainfo" "$root/share/icons/hicolor/scalable/apps/penwick.svg"; do
  [ -f "$file" ] || fail "missing ${file#"$root"/}"
done
expect_ok "desktop-file-validate" desktop-file-validate "$desktop"
expect_ok "appstreamcli validate" appstreamcli validate --no-net "$metainfo"
expect_ok "xmllint of the MIME package" xmllint --noout "$mime"
expect_ok "xmllint of the icon" xmllint --noout "$root/share/icons/hicolor/scalable/apps/penwick.svg"

# The MIME package as the desktop reads it: *.mis is the type, a kind of text.
mkdir -p "$scratch/mime/packages"
cp "$mime" "$scratch/mime/packages/"
expect_ok "update-mime-database" update-mime-database "$scratch/mime"
grep -qx 'text/x-varnok-mission' "$scratch/mime/types" 2>/dev/null || fail "the MIME database lacks text/x-varnok-mission"
grep -q '^[0-9]*:text/x-varnok-mission:\*\.mis$' "$scratch/mime/globs2" 2>/dev/null || fail "*.mis is not text/x-varnok-mission"
grep -qx 'text/x-varnok-mission text/plain' "$scratch/mime/subclasses" 2>/dev/null ||
  fail "text/x-varnok-mission is not a subclass of text/plain"
grep -q '<comment>Varnok mission script</comment>' "$mime" || fail "the type is not called \"Varnok mission script\""

# The names agree: the entry starts our program, shows our icon and opens
# the type of the MIME package; the metainfo launches this entry.
key() { sed -n "s/^$1=//p" "$desktop" | head -1; }
exec_program=$(key Exec | awk '{print $1}')
[ -x "$root/bin/$exec_program" ] || fail "Exec names \"$exec_program\", which is not in bin/"
[ "$(key MimeType)" = "text/x-varnok-mission;" ] || fail "MimeType=$(key MimeType)"
[ "$(key Name)" = Penwick ] || fail "Name=$(key Name)"
icon=$(key Icon)
[ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon has no scalable icon"
for size in 16 24 32 48 64 128 256; do
  png=$root/share/icons/hicolor/${size}x${size}/apps/$icon.png
  description=$(file -b "$png" 2>&1)
  case $description in
    "PNG image data, $size x $size,"*) ;;
    *) fail "${png#"$root"/}: $description" ;;
  esac
done
grep -q '<launchable type="desktop-id">penwick.desktop</launchable>' "$metainfo" || fail "the metainfo does not launch penwick.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed ($mode)"
  exit 1
fi
echo "installed copy ($mode) checked"
