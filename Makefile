# The two commands a new user needs: `make demo` and `make test`.
BUILD   := build
JOBS    ?= $(shell nproc)
# A warning fails the build here as in CI; CMAKE_FLAGS= turns that off.
CMAKE_FLAGS ?= -DVIGIL_WERROR=ON
PACKAGES := cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
  qt6-base-dev qt6-charts-dev libcurl4-openssl-dev libjpeg62-turbo-dev fonts-liberation \
  xvfb xauth x11-utils xdotool imagemagick python3-aiosmtpd dbus-daemon openssl \
  clang libclang-rt-14-dev libexpat1-dev nlohmann-json3-dev weston qt6-wayland \
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils lintian \
  libcpp-httplib-dev chromium prometheus

.PHONY: all deps configure build test demo bench soak install package format clean \
  fuzz fuzz-build test-asan

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build fuzz-build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	fuzz/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS)

# Every reader of outside text under libFuzzer with AddressSanitizer and
# UBSan, built by clang in a tree of its own: make fuzz [FUZZ_SECONDS=300]
# runs each target that long; make test runs each a few seconds.
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 300
FUZZ_SMOKE_SECONDS ?= 5
fuzz-build: deps
	@[ -f $(FUZZ_BUILD)/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) \
	  -G Ninja -DVIGIL_FUZZ=ON -DVIGIL_BUILD_TESTS=OFF -DVIGIL_BUILD_TOOLS=OFF \
	  -DVIGIL_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

fuzz: fuzz-build
	fuzz/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The whole suite built with AddressSanitizer and UBSan; not part of make test.
ASAN_BUILD := build-asan
test-asan: deps
	@[ -f $(ASAN_BUILD)/build.ninja ] || cmake -S . -B $(ASAN_BUILD) -G Ninja \
	  -DVIGIL_SANITIZE=ON -DVIGIL_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The core benchmarks, then real orbs on private X servers: memory per orb
# against a bare Qt Charts window, CPU per cycle, a suspended orb, start-up
# (about six minutes; ORB_BENCH_FLAGS, e.g. --orbs 12 --only cpu).
bench: build
	$(BUILD)/bin/vigil_bench
	bench/orb-bench --build $(BUILD) $(ORB_BENCH_FLAGS)

# Real orbs cycling every second on a private X server, and their memory
# growth per 1,000 cycles: make soak [SOAK_SECONDS=120] [FACE=0] [KIND=4]
# [MODE=bar|history], or ALL=1 for every chart kind and face side by side;
# SOAK_FLAGS passes more options (--orb PATH, --trace FILE).
SOAK_SECONDS ?= 120
FACE ?= 0
KIND ?= 4
MODE ?= history
soak: build
	xvfb-run -a -s "-screen 0 1920x1080x24" $(BUILD)/bin/vigil-soak \
	  --seconds $(SOAK_SECONDS) $(SOAK_FLAGS) \
	  $(if $(ALL),--all,--face $(FACE) --kind $(KIND) --mode $(MODE)) \
	  $(if $(EXERCISE),--exercise)

demo: build
	demo/run-demo $(BUILD)

# make install [PREFIX=/usr/local]: bin, lib/vigil-panel, share/vigil-panel,
# the desktop entry and the manual pages under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

# make package: build/vigil-panel_<version>_<arch>.deb, lintian on it (an
# error fails), then the package check (unpacked with dpkg -x, its vigil
# starts its example orb, its first run lays out and starts a wall).
package: build
	cd $(BUILD) && cpack -G DEB
	@deb=$$(ls -t $(BUILD)/vigil-panel_*.deb | head -n 1); \
	if command -v lintian >/dev/null 2>&1; then \
	  echo "lintian $$deb"; \
	  status=0; lintian --display-info --fail-on error "$$deb" >$(BUILD)/lintian.txt 2>&1 || status=$$?; \
	  grep -v '^running with root privileges' $(BUILD)/lintian.txt; \
	  [ "$$status" = 0 ] || { echo "lintian finds errors in $$deb"; exit 1; }; \
	else \
	  echo "NOTE: lintian is not installed (make deps installs it): $$deb was not checked against Debian's policy"; \
	fi
	cd $(BUILD) && ctest --output-on-failure -R PackageRuns

format:
	clang-format -i $$(git ls-files '*.cc' '*.h')

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(ASAN_BUILD)
