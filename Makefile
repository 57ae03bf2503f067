# The two commands a new user needs: `make demo` and `make test`.
BUILD   := build
JOBS    ?= $(shell nproc)
PACKAGES := cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
  qt6-base-dev qt6-charts-dev libcurl4-openssl-dev libjpeg62-turbo-dev fonts-liberation \
  xvfb xauth x11-utils xdotool imagemagick python3-aiosmtpd dbus-daemon openssl

.PHONY: all deps configure build test demo bench soak format clean

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
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

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
	  $(if $(ALL),--all,--face $(FACE) --kind $(KIND) --mode $(MODE))

demo: build
	demo/run-demo $(BUILD)

format:
	clang-format -i $$(git ls-files '*.cc' '*.h')

clean:
	rm -rf $(BUILD)
