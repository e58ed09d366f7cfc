# make test   set up, build everything and run every test (native and under Wine)
# make demo   run the plug-in's main job in the host stand-in
# make native the keystroke library and host-independent logic, built and tested natively
BUILD := build
WIN := $(BUILD)/win32
NATIVE := $(BUILD)/native
JOBS ?= 2

.PHONY: all bootstrap build native test demo interactive clean

all: build

bootstrap:
	@scripts/bootstrap.sh

build: bootstrap
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN) -j$(JOBS)

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)
	@cd $(NATIVE) && ctest --output-on-failure

test: native build
	@scripts/wine-session.sh $(BUILD) ctest --test-dir $(WIN) --output-on-failure --timeout 300

demo: build
	@rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo
	@scripts/wine-session.sh $(BUILD) wine $(WIN)/host/LullexHost.exe --demo --shots 'Z:$(abspath $(BUILD))/demo'

interactive: build
	@LULLEX_DISPLAY=$${LULLEX_DISPLAY:-host} scripts/wine-session.sh $(BUILD) wine $(WIN)/host/LullexHost.exe --interactive

clean:
	rm -rf $(BUILD)
