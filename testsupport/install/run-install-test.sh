#!/usr/bin/env bash
# run-install-test.sh BUILD_DIR [EXTRA_C_FLAGS]: installs the build into a temporary prefix, builds
# and runs a consumer with pkg-config and one with find_package against it, and starts the
# installed wavedesk offscreen far enough to create both controls from the installed plugins.
set -euo pipefail
build=$1
flags=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in libsigmora.so.1 libnumora.so.1 libmemblock.so.1; do
  [[ -n "$(find "$prefix" -name "$f")" ]] || { echo "missing $f"; exit 1; }
done
if find "$prefix" -name '*testctl*' -o -name '*fixture*' | grep -q .; then
  echo "test fixtures were installed"; exit 1
fi

# pkg-config consumer.
pcdir=$(dirname "$(find "$prefix" -name sigmora.pc)")
export PKG_CONFIG_PATH=$pcdir
libdir=$(pkg-config --variable=libdir sigmora)
# shellcheck disable=SC2046,SC2086
cc $flags -o "$work/consumer-pc" "$here/consumer.c" "$here/consumer_numora.c" $(pkg-config --cflags --libs sigmora numora) \
  -Wl,-rpath,"$libdir"
"$work/consumer-pc"

# find_package consumer.
cmake -S "$here" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_BUILD_RPATH="$libdir" >/dev/null
cmake --build "$work/consumer" >/dev/null
"$work/consumer/consumer"

# The installed workbench finds its controls in its private folder, without LD_LIBRARY_PATH.
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$prefix/bin/wavedesk" --check
