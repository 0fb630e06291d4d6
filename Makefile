# Two entry points: `make run` and `make test`. Both install what is missing, configure and build.
# `make install [PREFIX=/usr/local] [DESTDIR=...]` installs the build; `make package` makes the .deb.
BUILD ?= build
PREFIX ?= /usr/local
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

.PHONY: run test deps build install package asan-test clean

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j2

run: build
	$(BUILD)/bin/morvane-radio-tuner

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	cmake --build $(BUILD) --target package

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

asan-test: deps
	cmake -S . -B build-asan -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DMORVANE_SANITIZE=ON
	cmake --build build-asan -j2
	ctest --test-dir build-asan --output-on-failure -j2

clean:
	rm -rf $(BUILD) build-asan
