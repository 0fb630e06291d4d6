#!/usr/bin/env bash
# Builds the static Windows x86-64 libraries and ffmpeg.exe the tool needs, from the Debian source
# tarballs fetch-sources.sh put in SRC, with Debian's mingw-w64 (posix threads), into PREFIX.
#   build-deps.sh SRC PREFIX
# Static only: every program is one .exe that needs nothing but Windows' own DLLs.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
export SRC=$(realpath "$1") PREFIX=$(realpath -m "$2") HOST=x86_64-w64-mingw32
export TC=$here/mingw-w64-x86_64.cmake PATCHES=$here/patches JOBS=${JOBS:-$(nproc)}
export WORK=$PREFIX.work
export PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig:/usr/$HOST/lib/pkgconfig PKG_CONFIG_PATH=
export CC=$HOST-gcc-posix CXX=$HOST-g++-posix AR=$HOST-gcc-ar-posix RANLIB=$HOST-gcc-ranlib-posix
rm -rf "$WORK" && mkdir -p "$PREFIX" "$WORK/logs"
times=$PREFIX/build-times.txt
: > "$times"

# unpack: the step's package's upstream tarball into WORK/STEP, whatever its top folder is called.
unpack() {
  mkdir -p "$WORK/$STEP" && tar -xf "$SRC/$STEP"_*.orig.tar.* -C "$WORK/$STEP" --strip-components=1
  cd "$WORK/$STEP"
}
autotools() {
  ./configure --host=$HOST --prefix="$PREFIX" --disable-shared --enable-static "$@"
  make -j"$JOBS" install
}
cmake_lib() {
  cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TC" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DWIN_DEPS="$PREFIX" "$@"
  cmake --build build -j"$JOBS" && cmake --install build
}

# One function per Debian source package, named as the package.
libogg() { autotools; }
libvorbis() { autotools --disable-docs --disable-examples --disable-oggtest; }
lame() { autotools --disable-frontend --disable-decoder --disable-gtktest; }
libpng1.6() { autotools; }
libmspack() { autotools; }
libsdl2() { cmake_lib -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF; }
openal-soft() {
  # 1.24 uses one generator expression from CMake 3.26; Debian 12 has 3.25.
  patch -p1 < "$PATCHES/openal-soft-cmake-3.25.patch"
  cmake_lib -DLIBTYPE=STATIC -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF -DALSOFT_BACKEND_WAVE=ON
}
googletest() { cmake_lib; }
# Text layout: the bidirectional algorithm, and shaping with the font's own tables only (no FreeType,
# GLib or ICU: the layout reads a font's tables through GDI and needs nothing else).
fribidi() { autotools; }
harfbuzz() { cmake_lib -DHB_BUILD_SUBSET=OFF; }
# Only what the tool's command lines use: MP3, Ogg Vorbis and WAV in and out, stereo down-mixing.
ffmpeg() {
  ./configure --prefix="$PREFIX" --target-os=mingw32 --arch=x86_64 --enable-cross-compile \
    --cross-prefix=$HOST- --cc="$CC" --cxx="$CXX" --pkg-config=pkg-config --pkg-config-flags=--static \
    --extra-cflags=-I"$PREFIX"/include --extra-ldflags="-L$PREFIX/lib -static" \
    --enable-static --disable-shared --disable-autodetect --enable-w32threads \
    --disable-doc --disable-debug --disable-network --disable-avdevice --disable-swscale --disable-postproc \
    --disable-ffplay --disable-ffprobe --disable-everything --enable-protocol=file,pipe \
    --enable-demuxer=wav,mp3,ogg --enable-muxer=wav,mp3,ogg --enable-parser=mpegaudio,vorbis \
    --enable-decoder=mp3,mp3float,vorbis,pcm_s16le,pcm_s24le,pcm_s32le,pcm_f32le,pcm_f64le,pcm_u8,pcm_alaw,pcm_mulaw \
    --enable-encoder=pcm_s16le,libmp3lame,libvorbis --enable-libmp3lame --enable-libvorbis \
    --enable-filter=aresample,aformat,anull,atrim
  make -j"$JOBS" ffmpeg.exe
  install -D -m 755 ffmpeg.exe "$PREFIX/bin/ffmpeg.exe"
}

steps=(fribidi harfbuzz libogg libvorbis lame libpng1.6 libmspack libsdl2 openal-soft googletest ffmpeg)
export -f unpack autotools cmake_lib "${steps[@]}"
for step in "${steps[@]}"; do
  echo "== $step"
  start=$(date +%s)
  STEP=$step bash -euo pipefail -c 'unpack && "$STEP"' > "$WORK/logs/$step.log" 2>&1 ||
    { tail -n 40 "$WORK/logs/$step.log"; exit 1; }
  # The licences travel with the programs built from the package.
  mkdir -p "$PREFIX/licenses/$step"
  find "$WORK/$step" -maxdepth 1 -type f \( -iname 'COPYING*' -o -iname 'LICEN[CS]E*' \) -exec cp {} "$PREFIX/licenses/$step/" \;
  echo "$step $(($(date +%s) - start)) s" >> "$times"
done
rm -rf "$PREFIX/share/doc" "$PREFIX/share/man" "$WORK"
