# Benchmarks of the programs against a floor CGI, through lighttpd (wrk) and
# by direct exec, plus the micro benchmarks (see bench/run.sh):
#   make bench    install what is missing, build, run the benchmarks; the
#                 table goes to $(BUILD)/bench/results.txt and is printed
.PHONY: bench

bench: build
	@EXTRA_PKGS="wrk valgrind time" scripts/install-deps.sh
	@bench/run.sh $(BUILD)
