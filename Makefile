# Set-up, build, test and run. `make run` and `make test` work on a fresh Debian 12 machine.
BUILD ?= build
BUILD_TYPE ?= Release
# Everything that building, testing and running need, what the look-and-feel checks use, and
# the sound server the sound test plays into, and the engine that analyses positions; dpkg-dev
# and file find the libraries the Debian package depends on; libbz2 and zlib read compressed archives.
PACKAGES = g++ cmake ninja-build libgtest-dev libbenchmark-dev qt6-base-dev qt6-multimedia-dev \
           fonts-liberation clang libclang-rt-14-dev xvfb xauth xdotool imagemagick \
           pulseaudio pulseaudio-utils fairy-stockfish dpkg-dev file qt6-svg-dev \
           libbz2-dev zlib1g-dev
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: deps configure build test run bench package clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $(PACKAGES); \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure

run: build
	$(BUILD)/Tandemora

bench: build
	$(BUILD)/tandemora-generate $(BUILD)/bench-games.bpgn 20000 1
	$(BUILD)/tandemora-bench $(BUILD)/bench-games.bpgn

# The Debian package, tandemora_VERSION_ARCH.deb, in the build folder.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
