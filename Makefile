# The two commands of the README: `make run` and `make test`.
# Debian packages the build, the tests and the window need, in one place.
PACKAGES := cmake g++ make qt6-base-dev libgtest-dev libbenchmark-dev xvfb xauth fonts-ipafont-gothic
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SAMPLE ?= samples/line.bmp

.PHONY: all deps configure build run test bench asan clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	  else \
	    echo "Missing packages. As root, run:"; \
	    echo "  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y$$missing"; \
	    exit 1; \
	  fi; \
	fi

configure: deps
	cmake --preset release

build: configure
	cmake --build --preset release -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): start it with 'xvfb-run -a make run' or from a desktop session."; \
	  exit 1; \
	fi
	cd build && if [ -f "$(SAMPLE)" ]; then ./plotvane "$(SAMPLE)"; else ./plotvane; fi

test: build
	cd build && ctest --output-on-failure

# Runs every benchmark program, then the table of their ratios and targets
# (bench/README.md).
bench: build
	cmake --build --preset release -j$(JOBS) --target benchmarks
	@mkdir -p build/bench/results && rm -f build/bench/results/*.json
	@for b in build/bench/*_bench; do \
	  echo "== $$b"; \
	  "$$b" --benchmark_counters_tabular=true \
	    --benchmark_out="build/bench/results/$$(basename "$$b").json" --benchmark_out_format=json \
	    || exit 1; \
	done
	@bench/summary.sh build/bench/results/*.json

asan: deps
	cmake --preset asan
	cmake --build --preset asan -j$(JOBS)
	ctest --preset asan

clean:
	rm -rf build build-asan
