# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
BUILD_TYPE ?= RelWithDebInfo
PREFIX ?= /usr/local

.PHONY: all deps configure build test run install asan bench fuzz clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_EXTRA) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# Each test program starts its own private Xvfb, so no display is needed here.
test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

run: build
	@scripts/run.sh $(BUILD)

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
# Leaks inside the X libraries themselves are suppressed; ours are not.
asan:
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(MAKE) test BUILD=build-asan BUILD_TYPE=Debug CMAKE_EXTRA=-DLUMOX_SANITIZE=ON

bench: configure
	@cmake --build $(BUILD) -j$(JOBS) --target lumox_bench lumox_run_bench lumox_report_bench lumox_intake_bench \
	  && $(BUILD)/bench/lumox_bench && $(BUILD)/bench/checkers/lumox_run_bench \
	  && $(BUILD)/bench/report/lumox_report_bench && $(BUILD)/bench/intake/lumox_intake_bench

# The libFuzzer targets of fuzz/, built with clang++ in build-fuzz and run
# one after the other: FUZZ_SECONDS each, or FUZZ_RUNS executions each;
# FUZZ_TARGETS names some of them (fuzz/README.md).
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?=
FUZZ_TARGETS ?=
fuzz: deps
	@JOBS=$(JOBS) scripts/fuzz.sh build build-fuzz \
	  && FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_RUNS=$(FUZZ_RUNS) scripts/fuzz.sh run build-fuzz $(FUZZ_TARGETS)

clean:
	@rm -rf $(BUILD) build-asan build-fuzz
