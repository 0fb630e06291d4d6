# Two entry points: `make run` and `make test`. Both install what is missing, configure and build.
# `make install [PREFIX=/usr/local] [DESTDIR=...]` installs the build; `make package` makes the .deb
# (with dpkg-buildpackage, in the same folder); `make package-check` builds and checks it.
# `make windows` cross-builds the Windows programs into build-win/; `make windows-test` runs their tests
# under Wine.
# `make test` and the CI builds treat warnings as errors (WERROR=ON); a user's build does not. Without
# WERROR given, a folder keeps what it was configured with, so `make run` after `make test` rebuilds nothing.
BUILD ?= build
PREFIX ?= /usr/local
WERROR ?=
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
# Debian's flags for packages, hardening included (CMake reads no CPPFLAGS, so they join the others).
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get

.PHONY: run test deps build install package package-check fresh-debian reproducible asan-test release-test clang-build windows-packages windows windows-test reproducible-windows clean mutation

deps:
	@tools/install-deps.sh

# Configured as the package is (debian/rules: Debian's hardening flags), so the package reuses it.
build: deps
	BUILDDIR=$(BUILD) debian/rules configure CMAKE_OPTIONS="$(if $(WERROR),-DMORVANE_WERROR=$(WERROR))"
	cmake --build $(BUILD) -j2

run: build
	$(BUILD)/bin/morvane-radio-tuner

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# dpkg-buildpackage without its clean step (which would remove the folder); it builds what changed,
# runs the tests that need no display and leaves the package files in $(BUILD)/debian-packages/.
# debhelper's own state goes first, as its clean step would: the debug files of an earlier package
# would otherwise join the new -dbgsym package.
package: deps
	rm -rf debian/.debhelper debian/morvane-radio-tuner debian/tmp debian/files debian/*.substvars \
	  debian/debhelper-build-stamp
	BUILDDIR=$(BUILD) dpkg-buildpackage -us -uc -b -nc -j2
	tools/collect-packages.sh $(BUILD)/debian-packages

# The package and what ships in it, checked as a distribution would: lintian, the autopkgtest, the
# AppStream metadata, the desktop entry, the man page.
package-check: package
	@tools/install-deps.sh lintian autopkgtest
	tests/packaging/package_check.sh $(BUILD)/debian-packages

# The package installed by apt on a fresh Debian 12 root (as root): its fonts, status_glyphs.sh, man, purge.
fresh-debian: package
	@tools/install-deps.sh mmdebstrap
	tests/packaging/fresh_debian.sh $(BUILD)/debian-packages

# Two package builds of fresh copies of the commit, in different folders, umasks and times, compared
# with each other and with what `make package` made.
reproducible: deps
	@tools/install-deps.sh diffoscope-minimal blhc
	tests/packaging/reproducible.sh $(wildcard $(BUILD)/debian-packages)

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

# Mutation testing (hours; not in CI): each mutant of tools/mutation/mutants.txt built and tested alone in
# build-mutation/. MUTATION_ARGS passes options, e.g. MUTATION_ARGS="--first 5"; MUTATION_ONLY the
# --only pattern, which reaches the script as it is, quotes and all (from the environment, never parsed
# by the shell).
mutation: deps
	tools/mutation/run.sh $(MUTATION_ARGS) $(if $(MUTATION_ONLY),--only "$$MUTATION_ONLY")

# Another compiler.
clang-build: deps
	CC=clang CXX=clang++ cmake -S . -B build-clang -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DMORVANE_WERROR=ON
	cmake --build build-clang -j2

WIN_BUILD ?= build-win

# The game data and the demo containers come from the Linux build's own writers; the batch tests under
# Wine make their files with its interpreter and helpers.
windows-packages: deps
	@tools/install-deps.sh $$(cat tools/windows/packages.txt)
	BUILDDIR=$(BUILD) debian/rules configure CMAKE_OPTIONS="$(if $(WERROR),-DMORVANE_WERROR=$(WERROR))"
	cmake --build $(BUILD) -j2 --target morvane_gamedata_file demo_containers morvane-cmd lib_win
	deps=$$(tools/windows/deps.sh) && cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/tools/windows/mingw-w64-x86_64.cmake -DWIN_DEPS=$$deps \
	  -DMORVANE_HOST_BUILD=$(CURDIR)/$(BUILD) -DMORVANE_WERROR=$(or $(WERROR),OFF)
	cmake --build $(WIN_BUILD) -j2 --target windows_packages

windows: windows-packages
	cmake --build $(WIN_BUILD) -j2

# The zip and the installer built twice from fresh copies of the commit, in different folders, umasks
# and times, and compared.
reproducible-windows: deps
	@tools/install-deps.sh diffoscope-minimal $$(cat tools/windows/packages.txt)
	tests/packaging/reproducible_windows.sh

windows-test: WERROR = ON
windows-test: windows
	ctest --test-dir $(WIN_BUILD) --output-on-failure -j2

clean:
	rm -rf $(BUILD) build-asan build-release build-clang $(WIN_BUILD)
