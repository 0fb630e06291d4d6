# Two entry points: `make run` and `make test`. Both install what is missing, configure and build.
# `make install [PREFIX=/usr/local] [DESTDIR=...]` installs the build; `make package` makes the .deb.
# `make windows` cross-builds the Windows programs into build-win/; `make windows-test` runs their tests
# under Wine.
# `make test` and the CI builds treat warnings as errors (WERROR=ON); a user's build does not.
BUILD ?= build
PREFIX ?= /usr/local
WERROR ?= OFF
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
# Debian's flags for packages, hardening included (CMake reads no CPPFLAGS, so they join the others).
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get

.PHONY: run test deps build install package asan-test release-test clang-build windows windows-test clean

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_WERROR=$(WERROR)
	cmake --build $(BUILD) -j2

run: build
	$(BUILD)/bin/morvane-radio-tuner

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	cmake --build $(BUILD) --target package

test: WERROR = ON
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

asan-test: deps
	cmake -S . -B build-asan -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DMORVANE_SANITIZE=ON -DMORVANE_WERROR=ON
	cmake --build build-asan -j2
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --test-dir build-asan --output-on-failure -j2

# What a packager builds: Release (-O3) with Debian's hardening flags; its tests too, as the optimiser
# may show what a lower level hides.
release-test: deps
	CFLAGS="$$($(DEB_FLAGS) CFLAGS) $$($(DEB_FLAGS) CPPFLAGS)" \
	CXXFLAGS="$$($(DEB_FLAGS) CXXFLAGS) $$($(DEB_FLAGS) CPPFLAGS)" LDFLAGS="$$($(DEB_FLAGS) LDFLAGS)" \
	  cmake -S . -B build-release -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DMORVANE_WERROR=ON
	cmake --build build-release -j2
	ctest --test-dir build-release --output-on-failure -j2

# Another compiler.
clang-build: deps
	CC=clang CXX=clang++ cmake -S . -B build-clang -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DMORVANE_WERROR=ON
	cmake --build build-clang -j2

WIN_BUILD ?= build-win

# The game data and the demo containers come from the Linux build's own writers; the batch tests under
# Wine make their files with its interpreter and helpers.
windows: deps
	@tools/install-deps.sh $$(cat tools/windows/packages.txt)
	cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_WERROR=$(WERROR)
	cmake --build $(BUILD) -j2 --target morvane_gamedata_file demo_containers morvane-cmd lib_win
	deps=$$(tools/windows/deps.sh) && cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/tools/windows/mingw-w64-x86_64.cmake -DWIN_DEPS=$$deps \
	  -DMORVANE_HOST_BUILD=$(CURDIR)/$(BUILD) -DMORVANE_WERROR=$(WERROR)
	cmake --build $(WIN_BUILD) -j2

windows-test: WERROR = ON
windows-test: windows
	ctest --test-dir $(WIN_BUILD) --output-on-failure -j2

clean:
	rm -rf $(BUILD) build-asan build-release build-clang $(WIN_BUILD)
