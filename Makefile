# Entry points: make run, make test, make build, make bench, make dist.
# Two Windows trees are built from the same sources: build/win32 (the shipped
# edition) and build/win64. The Wine tiers run the tree scripts/arch.sh picks:
# win32 where the host runs 32-bit programs, else win64; QUIBEX_ARCH forces it.
SHELL := /bin/bash
ROOT := $(abspath .)
BUILD := $(ROOT)/build
JOBS ?= $(shell nproc)
ARCHIVE ?= $(ROOT)/samples/sample.lzh
LIBRARIES := UNLHA32 UNZIP32 CAB32 SEVENZIP32 UNRAR32
# The Windows tree the Wine tiers use, and the other one.
WIN_ARCH = $(shell bash $(ROOT)/scripts/arch.sh 2>/dev/null)
OTHER_ARCH = $(if $(filter win64,$(WIN_ARCH)),win32,win64)

.PHONY: all deps build native win32 win64 win32-libs win64-libs fuzz arch-check test run bench dist dist-check clean

all: build

deps:
	@bash scripts/deps.sh

$(BUILD)/native/CMakeCache.txt:
	cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

$(BUILD)/win32/CMakeCache.txt:
	cmake -S . -B $(BUILD)/win32 -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null

$(BUILD)/win64/CMakeCache.txt:
	cmake -S . -B $(BUILD)/win64 -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null

$(BUILD)/fuzz/CMakeCache.txt:
	cmake -S . -B $(BUILD)/fuzz -DQUIBEX_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

native: $(BUILD)/native/CMakeCache.txt
	cmake --build $(BUILD)/native -j $(JOBS)

win32 win64: %: $(BUILD)/%/CMakeCache.txt
	cmake --build $(BUILD)/$* -j $(JOBS)

# Only the archiver libraries of a tree: the tests compare both trees' exports.
# Configured again first: a tree configured before a library was added has no
# rule for it yet.
win32-libs win64-libs: %-libs: $(BUILD)/%/CMakeCache.txt
	cmake -S . -B $(BUILD)/$* >/dev/null
	cmake --build $(BUILD)/$* -j $(JOBS) --target $(LIBRARIES)

fuzz: $(BUILD)/fuzz/CMakeCache.txt
	cmake --build $(BUILD)/fuzz -j $(JOBS)

# One clear line when no Wine loader runs here, instead of failing tests.
arch-check:
	@bash scripts/arch.sh >/dev/null 2>&1 || { echo "make: $$(bash scripts/arch.sh 2>&1)"; exit 1; }

build: deps
	$(MAKE) native win32 win64

test: deps arch-check
	$(MAKE) native fuzz $(WIN_ARCH) $(OTHER_ARCH)-libs
	@bash scripts/run-tests.sh $(BUILD)

run: deps arch-check
	$(MAKE) $(WIN_ARCH)
	@bash scripts/run.sh "$(ARCHIVE)"

bench: deps arch-check
	$(MAKE) native $(BUILD)/$(WIN_ARCH)/CMakeCache.txt
	@bash bench/run.sh $(BUILD)
	@bash bench/viewer_bench.sh $(BUILD)
	@bash bench/bomb_bench.sh $(BUILD)
	@bash bench/link_bench.sh $(BUILD)
	@bash bench/search_bench.sh $(BUILD)

# The two zips a user downloads, from both Windows trees.
dist: deps
	$(MAKE) win32 win64
	@bash scripts/dist.sh $(BUILD) $(ROOT)/dist

# The zip of the tree that runs here, unpacked and started as a new user would.
dist-check: dist
	@bash scripts/dist-check.sh $(BUILD) $(ROOT)/dist

clean:
	rm -rf $(BUILD)
