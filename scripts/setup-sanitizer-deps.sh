#!/usr/bin/env bash
# Installs the Debian packages the sanitizer build and the fuzz targets need on top of those of
# setup-deps.sh (as root), or names the command that installs them.
exec bash "$(dirname "$0")/setup-deps.sh" clang libclang-rt-14-dev llvm-14
