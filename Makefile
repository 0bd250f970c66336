# Front door over CMake. `make run` builds and starts the game, `make test`
# builds and runs every test; both install missing Debian packages first.

BUILD       ?= build
ASAN_BUILD  ?= build-asan
WEB_BUILD   ?= build-web
WINDOWS_BUILD ?= build-windows
WEB_PORT    ?= 8000
GENERATOR   ?= Ninja
JOBS        ?= 2
PREFIX      ?= /usr/local
CMAKE_FLAGS ?=
DIST        ?= dist

include tests/labels.mk

.PHONY: all deps configure build run test test-quick test-compat sanitize data golden install dist deb clean \
	web-deps web web-serve test-web windows-deps windows

all: build

deps:
	@./tools/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX) \
		-DSKYREEL_WEB_BUILD=$(abspath $(WEB_BUILD)) -DSKYREEL_WINDOWS_BUILD=$(abspath $(WINDOWS_BUILD)) \
		-DSKYREEL_DIST=$(abspath $(DIST)) $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/skyreel

# Every test, including the long soak runs, the Debian package's test
# (label deb: builds, installs, plays and purges the package; needs root),
# the browser tests (label web), which play the browser version that
# `make web` builds, and the Windows tests (label windows), which play the
# download that `make windows` builds under wine.
test: build web windows
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The everyday loop: skips the tests labelled slow, the package's test and
# the browser tests.
test-quick: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE '$(SKYREEL_LABELS_NOT_QUICK)'

# The quick tests again on the SDL 1.2 compatibility runtime over SDL 2
# (Debian's libsdl1.2-compat, which the launcher's --scale uses).
SDL12COMPAT ?= /usr/lib/$(shell gcc -print-multiarch)/sdl12-compat
test-compat: build
	@LD_LIBRARY_PATH=$(SDL12COMPAT) ldd $(BUILD)/skyreel | grep -q '$(SDL12COMPAT)/libSDL-1.2' || \
		{ echo "no SDL 1.2 compatibility runtime in $(SDL12COMPAT)"; exit 1; }
	cd $(BUILD) && LD_LIBRARY_PATH=$(SDL12COMPAT) ctest --output-on-failure -j $(JOBS) -LE '$(SKYREEL_LABELS_NOT_COMPAT)'

# The whole suite again under AddressSanitizer + UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DSKYREEL_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE '$(SKYREEL_LABELS_NOT_SANITIZED)'

# Regenerates every file in data/ (and the icons in packaging/) from the
# sources in tools/assets.
data: build
	./$(BUILD)/tools/assets/skyreel-assets data packaging

# Writes the simulator's golden traces (tests/sim/golden/) again after an
# intended change of the game's behaviour; review the diff before committing.
golden: build
	./tools/sim/golden.sh $(BUILD)/tools/sim/skyreel-sim

# The browser version: a static site in $(WEB_BUILD)/site (our page, the game's
# .js and .wasm, data/ packed) and $(WEB_BUILD)/skyreel-web.zip, built with
# Debian's Emscripten. Its emcc needs Debian's Node modules on NODE_PATH when
# the node on PATH comes from elsewhere.
web-deps:
	@./tools/install-web-deps.sh

web: web-deps
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j $(JOBS)

# Serves the site on http://127.0.0.1:$(WEB_PORT)/ for playing it locally.
web-serve: web
	@echo "Skyreel in the browser: http://127.0.0.1:$(WEB_PORT)/"
	cd $(WEB_BUILD)/site && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# Only the browser tests.
test-web: build web
	cd $(BUILD) && ctest --output-on-failure -L web

# The Windows download $(DIST)/skyreel-VERSION-windows-x86_64.zip, cross-built
# with MinGW-w64 in $(WINDOWS_BUILD). SDL 1.2 and SDL_mixer 1.2 for Windows are
# built once from Debian's source packages into a cache outside the clone
# (tools/windows/build-sdl.sh).
windows-deps:
	@./tools/install-windows-deps.sh

windows: windows-deps
	sdl=$$(./tools/windows/build-sdl.sh) && \
	cmake -S . -B $(WINDOWS_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/tools/windows/mingw-w64-x86_64.cmake -DSKYREEL_WINDOWS_SDL=$$sdl && \
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) && \
	./tools/windows/package.sh $(WINDOWS_BUILD) $$sdl $(DIST)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The source release $(DIST)/skyreel-VERSION.tar.gz, from the committed tree.
dist:
	./tools/release/dist.sh $(DIST)

# The Debian package $(DIST)/skyreel_VERSION-1_ARCH.deb, built with
# dpkg-buildpackage -us -uc -b (DEB_BUILD_OPTIONS=nocheck skips its tests).
deb: deps
	./tools/release/deb.sh $(DIST)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(DIST) $(WEB_BUILD) $(WINDOWS_BUILD)
