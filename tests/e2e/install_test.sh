#!/usr/bin/env bash
# Installs into a temporary prefix and uses the installed programs with the source and build
# trees hidden, so nothing can quietly come from them.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d /tmp/torvane-install.XXXXXX)
trap 'rm -rf "$work"' EXIT

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log"

fail() { echo "FAIL: $*" >&2; exit 1; }
for f in bin/torvane bin/torvane-cli bin/torvane-gatewaysim share/torvane/EDSTemplate1.dat \
    share/torvane/translations/torvane_zh_CN.qm share/torvane/Torvane_zh_CN.html \
    share/torvane/advertising_bottom/Torvane_zh_CN.html \
    share/applications/torvane.desktop share/mime/packages/torvane.xml \
    share/metainfo/org.torvane.Torvane.metainfo.xml share/icons/hicolor/scalable/apps/torvane.svg \
    share/icons/hicolor/48x48/apps/torvane.png share/man/man1/torvane.1.gz \
    share/man/man1/torvane-cli.1.gz share/man/man1/torvane-gatewaysim.1.gz \
    share/bash-completion/completions/torvane-cli share/bash-completion/completions/torvane \
    share/doc/torvane/copyright share/doc/torvane/changelog.gz; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
done

desktop-file-validate "$prefix/share/applications/torvane.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.torvane.Torvane.metainfo.xml" >/dev/null
bash -n "$prefix/share/bash-completion/completions/torvane-cli"

# The Debian package passes lintian with no error and no warning, where lintian is installed.
if command -v lintian >/dev/null && command -v cpack >/dev/null; then
    (cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) ||
        { cat "$work/cpack.log" >&2; fail "cpack"; }
    deb=$(ls "$work"/pkg/*.deb)
    lintian --allow-root --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log" >&2; fail "lintian found errors or warnings"; }
else
    echo "note: lintian is not installed; the package is not checked"
fi

# The rest runs in a private mount namespace where both trees are empty, when we may.
stage2=$work/stage2.sh
cat >"$stage2" <<'STAGE'
#!/usr/bin/env bash
set -euo pipefail
prefix=$1; work=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
export PATH=$prefix/bin:/usr/bin:/bin
cd "$work"

# The installed catalogue is found (the window, which then waits for its first question, is
# ended by the timeout).
QT_QPA_PLATFORM=offscreen timeout 5 torvane --lang zh_CN 2>zh.err || true
if grep -q "translation is missing" zh.err; then fail "the installed catalogue was not found"; fi

torvane-cli new --master sample.chg
cp sample.chg sample.bin
update-mime-database "$prefix/share/mime" >/dev/null
export XDG_DATA_DIRS=$prefix/share:/usr/share XDG_DATA_HOME=$work/no-home
for f in sample.chg sample.bin; do
    type=$(xdg-mime query filetype "$f")
    [ "$type" = application/x-torvane-config ] || fail "$f is $type"
done

# Download and upload against the installed simulator.
torvane-gatewaysim --model master --link "$work/gw" >"$work/sim.out" 2>"$work/sim.err" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$work/gw" ] && break; sleep 0.1; done
[ -e "$work/gw" ] || fail "the simulator did not start"
export TORVANE_EXTRA_PORTS=$work/gw
torvane-cli download sample.chg --port "$work/gw" --yes
torvane-cli upload --port "$work/gw" --master -o back.chg
torvane-cli show back.chg --json >b.json
grep -q '"InportNum":"112"' b.json || fail "uploaded configuration differs"
echo "installed programs work"
STAGE
chmod +x "$stage2"

if [ "$(id -u)" = 0 ] && command -v unshare >/dev/null &&
    unshare -m true 2>/dev/null; then
    unshare -m bash -c "mount -t tmpfs tmpfs '$source' && \
        { [ -d '$build' ] && mount -t tmpfs tmpfs '$build' || true; } && '$stage2' '$prefix' '$work'"
else
    echo "note: cannot hide the build tree here; running from the install prefix only"
    "$stage2" "$prefix" "$work"
fi
