# Entry points: make run, make test, make build, make bench.
SHELL := /bin/bash
ROOT := $(abspath .)
BUILD := $(ROOT)/build
JOBS ?= $(shell nproc)
ARCHIVE ?= $(ROOT)/samples/sample.lzh

.PHONY: all deps build native win32 fuzz test run bench clean

all: build

deps:
	@bash scripts/deps.sh

$(BUILD)/native/CMakeCache.txt:
	cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

$(BUILD)/win32/CMakeCache.txt:
	cmake -S . -B $(BUILD)/win32 -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null

$(BUILD)/fuzz/CMakeCache.txt:
	cmake -S . -B $(BUILD)/fuzz -DQUIBEX_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

native: $(BUILD)/native/CMakeCache.txt
	cmake --build $(BUILD)/native -j $(JOBS)

win32: $(BUILD)/win32/CMakeCache.txt
	cmake --build $(BUILD)/win32 -j $(JOBS)

fuzz: $(BUILD)/fuzz/CMakeCache.txt
	cmake --build $(BUILD)/fuzz -j $(JOBS)

build: deps
	$(MAKE) native win32

test: deps
	$(MAKE) native win32 fuzz
	@bash scripts/run-tests.sh $(BUILD)

run: deps
	$(MAKE) win32
	@bash scripts/run.sh "$(ARCHIVE)"

bench: deps
	$(MAKE) native $(BUILD)/win32/CMakeCache.txt
	@bash bench/run.sh $(BUILD)
	@bash bench/viewer_bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
