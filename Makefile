# Taviron: every target installs what is missing, configures and builds first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
EXAMPLE ?= data/examples/example.TPR
CMAKE_FLAGS ?=

PREFIX ?= /usr/local

.PHONY: all deps configure build test run bench fuzz asan-test examples clean format mutate install package

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600

run: build
	@if [ -x $(BUILD_DIR)/app/taviron ]; then \
	  $(BUILD_DIR)/app/taviron $(EXAMPLE); \
	else \
	  $(BUILD_DIR)/app/taviron-cli info $(EXAMPLE); \
	fi

# Installs the programs, data, manual, man pages and desktop integration
# under PREFIX (default /usr/local); DESTDIR stages them elsewhere.
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# The Debian package (build/taviron_<version>_<arch>.deb), dependencies
# worked out by dpkg-shlibdeps (dpkg-dev is installed on demand).
package: build
	@command -v dpkg-shlibdeps >/dev/null || { \
	  SUDO=""; [ "$$(id -u)" -eq 0 ] || SUDO=sudo; \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends dpkg-dev >/dev/null; }
	@cd $(BUILD_DIR) && cpack -G DEB

# Rewrites every C++ source in the committed .clang-format style (make test checks it).
format: deps
	@bash scripts/check-format.sh --fix

# Plants the faults of every list in tests/mutations/ one at a time in a
# separate work tree of the committed HEAD and names those no test noticed.
# Slow; not part of make test. MUTATE_FLAGS passes e.g. --only ID,ID.
MUTATE ?= $(firstword $(wildcard ../shared/tools/mutate ../../shared/tools/mutate))
MUTATE_FLAGS ?=
mutate: deps
	@test -n "$(MUTATE)" || { echo "mutate: the mutation tool was not found (set MUTATE=path)"; exit 1; }
	@list=$$(mktemp); trap 'rm -f "$$list"' EXIT; \
	  awk 1 tests/mutations/*.tsv > "$$list"; \
	  python3 $(MUTATE) "$$list" $(MUTATE_FLAGS)

# Regenerates the example data in data/examples/ with the generators in tools/.
examples: build
	@bash scripts/make-examples.sh $(BUILD_DIR)

bench: deps
	@cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIRON_BUILD_BENCH=ON -DTAVIRON_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@for b in $(BUILD_DIR)-bench/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

# Fuzzers: clang build in $(BUILD_DIR)-fuzz; each target first writes its own
# seeds, then runs FUZZ_TIME seconds on its corpus (new inputs are kept in
# corpus/<target>, crashes and the like in findings/<target>).
FUZZ_TIME ?= 60
fuzz: deps
	@bash scripts/install-fuzz-deps.sh
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_DIR)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTAVIRON_BUILD_FUZZ=ON -DTAVIRON_BUILD_TESTS=OFF -DTAVIRON_BUILD_GUI=OFF >/dev/null
	@cmake --build $(BUILD_DIR)-fuzz -j $(JOBS) --target fuzz_all
	@set -e; cd $(BUILD_DIR)-fuzz/fuzz; for t in fuzz_*; do \
	  [ -x "$$t" ] && [ -f "$$t" ] || continue; \
	  rm -rf findings/$$t; mkdir -p seeds/$$t corpus/$$t findings/$$t; \
	  TAVIRON_FUZZ_SEEDS=seeds/$$t ./$$t; \
	  echo "== $$t ($(FUZZ_TIME) s)"; \
	  ./$$t -max_total_time=$(FUZZ_TIME) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	    -artifact_prefix=findings/$$t/ corpus/$$t seeds/$$t 2>&1 | tail -n 12; \
	  [ -z "$$(ls -A findings/$$t)" ] || { echo "$$t: findings in $(BUILD_DIR)-fuzz/fuzz/findings/$$t"; exit 1; }; \
	done

asan-test: deps
	@cmake -S . -B $(BUILD_DIR)-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVIRON_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD_DIR)-asan -j $(JOBS)
	@cd $(BUILD_DIR)-asan && QT_QPA_PLATFORM=offscreen \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

clean:
	@rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench $(BUILD_DIR)-asan $(BUILD_DIR)-fuzz
