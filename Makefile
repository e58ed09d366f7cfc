# make test   set up, build everything and run every test (native and under Wine)
# make check  the quick loop: format, native tests and the Windows unit tests (no fuzzing, no end to end)
# make demo   run the plug-in's main job in the host stand-in
# make native the keystroke library and host-independent logic, built natively and tested
#             under AddressSanitizer and UndefinedBehaviorSanitizer
# make fuzz   the libFuzzer targets for FUZZ_SECONDS each (make test runs them for 30 s)
# make bench  the benchmarks, which print figures
# make repeat N=10  the Wine suites of both builds N times, with the failed runs per test
# make dist  the release package, build/dist/Lullex-<version>.zip
# make format the one code style (.clang-format) applied; make format-check checks it
BUILD := build
WIN := $(BUILD)/win32
WIN64 := $(BUILD)/win64
NATIVE := $(BUILD)/native
FUZZ := $(BUILD)/fuzz
FUZZ_SECONDS ?= 600
JOBS ?= 2

.PHONY: all bootstrap plugins build check native fuzz-build fuzz bench repeat test demo docs-shots dist interactive clean format format-check

all: build

bootstrap:
	@scripts/bootstrap.sh

# The two plug-ins and their host stand-ins (with the stand-in's FMWrapper.dll):
# Lullex.fmx (every 32-bit FileMaker) and Lullex.fmx64 (today's FileMaker). All
# that make demo and make dist need; make build adds the tests and benchmarks in
# the same trees.
plugins: bootstrap
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN) -j$(JOBS) --target LullexBesideHost
	@cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN64) -j$(JOBS) --target LullexBesideHost

build: plugins
	@cmake --build $(WIN) -j$(JOBS)
	@cmake --build $(WIN64) -j$(JOBS)

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)
	@cd $(NATIVE) && ctest --output-on-failure

fuzz-build: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DLULLEX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ) -j$(JOBS)

fuzz: fuzz-build
	@scripts/fuzz.sh $(BUILD) $(FUZZ_SECONDS)

bench: build
	@scripts/bench.sh $(BUILD)

N ?= 10
repeat: build
	@scripts/repeat.sh $(BUILD) $(N)

SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.h' 2>/dev/null || find src host tests \( -name '*.cpp' -o -name '*.h' \))

format:
	@clang-format -i $(SOURCES)

format-check: bootstrap
	@clang-format --dry-run -Werror $(SOURCES) && echo "format-check: $(words $(SOURCES)) files follow .clang-format"

# Each tree is built once: the benchmarks and the package come from the Windows
# trees. The Wine suites run side by side, each in its own session, and the
# native tests and the fuzzers meanwhile on the CPU that the suites leave idle.
test: format-check build dist
	@scripts/wine-suites.sh $(BUILD) --alongside '$(MAKE) --no-print-directory native fuzz FUZZ_SECONDS=30'

UNIT_ONLY := host_scenarios|soak_tests|package|signing
check: format-check native build
	@scripts/wine-suites.sh $(BUILD) -E '$(UNIT_ONLY)'

demo: plugins
	@rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo
	@scripts/wine-session.sh $(BUILD) wine $(WIN)/host/LullexHost.exe --demo --shots 'Z:$(abspath $(BUILD))/demo'
	@mkdir -p $(BUILD)/demo/fmx64 $(BUILD)/demo/fmx64-ja
	@LULLEX_WINEARCH=win64 scripts/wine-session.sh $(BUILD) wine $(WIN64)/host/LullexHost.exe --demo --shots 'Z:$(abspath $(BUILD))/demo/fmx64'
	@LULLEX_WINEARCH=win64 scripts/wine-session.sh $(BUILD) env LC_ALL=ja_JP.UTF-8 wine $(WIN64)/host/LullexHost.exe --demo-login --shots 'Z:$(abspath $(BUILD))/demo/fmx64-ja'
	@for f in $(BUILD)/demo/*.png $(BUILD)/demo/*/*.png; do /usr/bin/python3 scripts/compress-png.py $$f $$f; \
	  [ $$(stat -c %s $$f) -le 300000 ] || { echo "demo: $$f is over 300 KB" >&2; exit 1; }; done
	@echo "demo: screenshots in $(BUILD)/demo, each at most 300 KB"

# The demo's screenshots and timeline, compressed, as the README shows them.
docs-shots: demo
	@for f in host-window lock-screen incorrect-password lock-warning login-wait; do \
	  /usr/bin/python3 scripts/compress-png.py $(BUILD)/demo/$$f.png docs/$$f.png; done
	@/usr/bin/python3 scripts/compress-png.py $(BUILD)/demo/fmx64/functions.png docs/function-list.png
	@/usr/bin/python3 scripts/compress-png.py $(BUILD)/demo/fmx64/login-users.png docs/login-users.png
	@/usr/bin/python3 scripts/compress-png.py $(BUILD)/demo/fmx64-ja/login-japanese.png docs/login-japanese.png
	@if [ -f $(BUILD)/demo/timeline.svg ]; then cp $(BUILD)/demo/timeline.svg docs/timeline.svg; fi
	@echo "docs-shots: docs/ updated"

# The release package: build/dist/Lullex-<version>.zip, from the plug-ins of the
# Windows trees; signed with SIGN_PKCS12=certificate.p12 SIGN_PASSWORD_FILE=password.txt
# [SIGN_TIMESTAMP_URL=...].
export SIGN_PKCS12 SIGN_PASSWORD_FILE SIGN_TIMESTAMP_URL
dist: plugins
	@scripts/dist.sh $(BUILD)

# make interactive plays Lullex.fmx in FileMaker Pro 5 and 6 (API=60: in the
# 32-bit FileMaker 18); make interactive FMX=64 plays Lullex.fmx64.
interactive: plugins
ifeq ($(FMX),64)
	@LULLEX_WINEARCH=win64 LULLEX_DISPLAY=$${LULLEX_DISPLAY:-host} scripts/wine-session.sh $(BUILD) wine $(WIN64)/host/LullexHost.exe --interactive
else
	@LULLEX_DISPLAY=$${LULLEX_DISPLAY:-host} scripts/wine-session.sh $(BUILD) wine $(WIN)/host/LullexHost.exe --interactive $(if $(API),--api $(API))
endif

clean:
	rm -rf $(BUILD)
