# The two commands of the contract. Both install what is missing first.
.PHONY: test run deps build native native-asan win32 clean fuzz

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

clean:
	rm -rf build
