#!/usr/bin/env bash
# The .deb as a user gets it: built by CPack, unpacked into a scratch root
# (never the real system), and its program, tools and library run from there.
# Usage: package_test.sh <build dir> <scratch dir>
set -euo pipefail
build=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch"
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out") >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack did not build the package"; }
deb=$(find "$scratch/out" -maxdepth 1 -name '*.deb' | head -n 1)
[ -n "$deb" ] || fail "no .deb in $scratch/out"
root=$scratch/root
dpkg-deb -x "$deb" "$root"

# Dependencies come from the libraries the files link, plus the font.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libqt6widgets6 libqt6gui6 libudev1 fonts-liberation; do
  grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package: $depends"
done

app=$root/usr/lib/talwyn-pro
id=com.orvane.TalwynPro
for file in "$app/talwyn-pro" "$app/talwynctl" "$app/talwyn-mouse-sim" "$app/Talwyn_pro_dll.so" \
  "$app/Talwyn_PRO_Skins/Talwyn_PRO_Icon.png" "$root/usr/include/talwyn_pro_dll.h" \
  "$root/usr/lib/pkgconfig/talwyn-pro-dll.pc" "$root/usr/lib/udev/rules.d/70-talwyn-pro.rules" \
  "$root/usr/share/applications/$id.desktop" "$root/usr/share/metainfo/$id.metainfo.xml" \
  "$root/usr/share/icons/hicolor/256x256/apps/$id.png"; do
  [ -f "$file" ] || fail "missing ${file#"$root"}"
done
for program in talwyn-pro talwynctl talwyn-mouse-sim; do
  [ "$(readlink -f "$root/usr/bin/$program")" = "$(readlink -f "$app/$program")" ] ||
    fail "usr/bin/$program does not lead to $app/$program"
done
[ -z "$(find "$root" -path '*/etc/*')" ] || fail "the package writes below /etc"

appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml" >"$scratch/appstream.log" 2>&1 ||
  { cat "$scratch/appstream.log" >&2; fail "appstreamcli rejects the metainfo file"; }
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
# The entry, its icon and the window class name one program.
desktop=$root/usr/share/applications/$id.desktop
grep -qx "Icon=$id" "$desktop" || fail "desktop entry names another icon"
grep -qx "StartupWMClass=Talwyn PRO Software" "$desktop" || fail "desktop entry names another window class"
cmp -s "$app/Talwyn_PRO_Skins/Talwyn_PRO_Icon.png" "$root/usr/share/icons/hicolor/256x256/apps/$id.png" ||
  fail "the theme icon differs from the window and tray icon"

# The installed program finds its library and skins beside itself.
mkdir -p "$scratch/run" && chmod 700 "$scratch/run"
QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/run" TALWYN_HID= \
  "$root/usr/bin/talwyn-pro" --simulate --screenshot "$scratch/shots" >"$scratch/program.log" 2>&1 ||
  { cat "$scratch/program.log" >&2; fail "the installed program did not render its screenshots"; }
[ -s "$scratch/shots/main-sensor-performance.png" ] || fail "no screenshot of the sensor page"

# The installed tools against the simulated mouse.
socket=$scratch/mouse.sock
setpriv --pdeathsig KILL "$root/usr/bin/talwyn-mouse-sim" serve --socket "$socket" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
trap 'exit 1' INT TERM
for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.1; done
export TALWYN_HID=sim:$socket
info=$("$root/usr/bin/talwynctl" info) || fail "installed talwynctl info failed"
[ "$info" = '{"bootloader":100,"deviceStatus":1,"firmware":105,"library":10}' ] || fail "talwynctl info: $info"
"$root/usr/bin/talwynctl" set polling-rate 3 500 || fail "installed talwynctl set polling-rate failed"

# A host program built with the installed header and pkg-config file.
cat >"$scratch/host.c" <<'C'
#include <talwyn_pro_dll.h>
#include <stdio.h>
int main(void) {
    uint16_t firmware = 0;
    if (Get_fw_version(&firmware) != TALWYN_RESULT_OK)
        return 1;
    printf("%u\n", firmware);
    return 0;
}
C
export PKG_CONFIG_PATH=$root/usr/lib/pkgconfig
# shellcheck disable=SC2046
cc -Wall -Wextra -Werror -o "$scratch/host" "$scratch/host.c" $(pkg-config --cflags --libs talwyn-pro-dll) ||
  fail "a host does not build against the installed library"
[ "$("$scratch/host")" = "105" ] || fail "the host did not read the firmware version"
echo "package ok: $(basename "$deb")"
