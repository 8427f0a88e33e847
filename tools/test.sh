#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: unit and
# in-process GUI tests on Qt's offscreen platform, end-to-end runs of the built
# program under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh
cd build
ctest -j2 --output-on-failure --timeout 300
