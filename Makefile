# The two commands of the contract. Both install what is missing first.
.PHONY: test run deps build dist native native-asan win32 clean fuzz

test: deps
	scripts/run-tests

run: deps
	scripts/run-product

# Every fuzz target for FUZZ_SECONDS (default 60) each, in build/fuzz (clang + libFuzzer).
fuzz: deps
	scripts/run-fuzz

deps:
	scripts/install-deps

build: deps
	scripts/run-tests --build-only

# The shipped installer build/win32/dist/maglorin-setup.exe (the win32 tree runs the native tools).
dist: deps
	cmake --preset native >/dev/null && cmake --build --preset native --target make-samples setup-pack
	cmake --preset win32 >/dev/null && cmake --build --preset win32 --target dist

clean:
	rm -rf build
