# The two commands of the README: `make run` and `make test`.
# Debian packages the build, the tests and the window need, in one place.
PACKAGES := cmake g++ make ccache clang-format pkgconf qt6-base-dev zlib1g-dev libxlsxwriter-dev \
            liblz4-dev libgtest-dev libbenchmark-dev xvfb xauth fonts-ipafont-gothic xdg-utils \
            libreoffice-calc-nogui qt6-image-formats-plugins qt6-translations-l10n \
            clang libclang-rt-14-dev
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# The configure and build preset: release for people, ci (warnings are
# errors) for .ci/run.
PRESET ?= release
SAMPLE ?= samples/line.bmp
# Seconds each fuzz target runs for under `make fuzz`.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := picture settings number cli data_text

.PHONY: all deps configure build run test bench asan fuzz format-check clean

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
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): start it with 'xvfb-run -a make run' or from a desktop session."; \
	  exit 1; \
	fi
	cd build && if [ -f "$(SAMPLE)" ]; then ./plotvane "$(SAMPLE)"; else ./plotvane; fi

test: build
	ctest --preset $(PRESET)

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

# The libFuzzer targets of fuzz/, built with clang into build-fuzz (skipped
# where clang++ is missing), each run for FUZZ_SECONDS from its seeds and the
# corpus it grew before. Any crash, leak, undefined behaviour, input taking
# over 10 s or run over 3000 MB fails: the log's end is shown and the input
# kept in build-fuzz/artifacts.
fuzz: deps
	@if ! command -v clang++ >/dev/null 2>&1; then \
	  echo "clang++ is not installed: the fuzz targets are skipped."; exit 0; \
	fi; \
	cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ && \
	cmake --build build-fuzz -j$(JOBS) && \
	mkdir -p build-fuzz/artifacts && \
	for target in $(FUZZ_TARGETS); do \
	  echo "== fuzz_$$target for $(FUZZ_SECONDS) s"; \
	  mkdir -p build-fuzz/corpus/$$target; \
	  if build-fuzz/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	       -rss_limit_mb=3000 -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/$$target- \
	       build-fuzz/corpus/$$target build-fuzz/seeds/$$target >build-fuzz/$$target.log 2>&1; then \
	    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units' build-fuzz/$$target.log; \
	  else \
	    tail -n 60 build-fuzz/$$target.log; exit 1; \
	  fi; \
	done

# Every C++ file as clang-format would write it.
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-asan build-ci build-fuzz
