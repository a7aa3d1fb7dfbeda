# Cross build for the switch (32-bit ARM Linux, Debian armhf), tests under qemu.
#   make arm        install what is missing, configure build-arm/, build everything
#   make test-arm   make arm, then run the tests in build-arm/ under qemu-arm
ARM_BUILD ?= build-arm
ARM_TOOLCHAIN ?= $(CURDIR)/cmake/arm-linux-gnueabihf.cmake

.PHONY: arm-deps arm test-arm clean-arm

arm-deps:
	@scripts/install-arm-deps.sh

arm: arm-deps
	@cmake -S . -B $(ARM_BUILD) -DCMAKE_TOOLCHAIN_FILE=$(ARM_TOOLCHAIN) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DOXEL_BENCH=OFF --no-warn-unused-cli >/dev/null
	@cmake --build $(ARM_BUILD) -j $(JOBS)

test-arm: arm
	@cd $(ARM_BUILD) && ctest --output-on-failure -j $(JOBS)

clean-arm:
	rm -rf $(ARM_BUILD)

clean: clean-arm
