# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
BUILD_TYPE ?= RelWithDebInfo
PREFIX ?= /usr/local

.PHONY: all deps configure build test run install asan bench clean

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
	@cmake --build $(BUILD) -j$(JOBS) --target lumox_bench lumox_run_bench lumox_report_bench \
	  && $(BUILD)/bench/lumox_bench && $(BUILD)/bench/checkers/lumox_run_bench \
	  && $(BUILD)/bench/report/lumox_report_bench

clean:
	@rm -rf $(BUILD) build-asan
