#!/usr/bin/env bash
# Builds the codec fuzzer with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it over detection, both line readers and
# every decoder, and over the settings and font-record readers. New inputs go to fuzz/out/corpus; findings to fuzz/out/.
#   bash fuzz/run_fuzz.sh [SECONDS]     default 600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }' \
    > "$probe/probe.cpp"
if ! command -v clang++ >/dev/null ||
   ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends clang
    if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
        version=$(clang++ --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p')
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "libclang-rt-${version}-dev"
    fi
fi

mkdir -p fuzz/out/corpus
clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -fPIC -Isrc -Ifuzz $(pkg-config --cflags Qt6Core) \
    src/codec/byte_stream.cpp src/codec/code_tables.cpp src/codec/decoders.cpp src/codec/encoders.cpp \
    src/codec/encoding_detect.cpp src/codec/text_reader.cpp \
    src/settings/settings_file.cpp src/settings/font_record.cpp src/convert/hanja_dictionary.cpp \
    fuzz/fuzz_codec.cpp fuzz/fuzz_target.cpp \
    $(pkg-config --libs Qt6Core) -o fuzz/out/fuzz_codec

# The first folder receives new inputs; the committed seeds stay as they are.
exec fuzz/out/fuzz_codec -max_total_time="$seconds" -max_len=16384 -timeout=10 \
    -print_final_stats=1 -artifact_prefix=fuzz/out/ fuzz/out/corpus fuzz/corpus
