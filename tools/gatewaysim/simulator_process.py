"""torvane-gatewaysim as a child process on a pseudo-terminal, for the Python tests and benches.

    sim = SimulatorProcess(os.path.join(bin_dir, "torvane-gatewaysim"), ["--model", "slave"])
    ... talk to sim.device ...
    sim.stop()
"""

import select
import subprocess

START_TIMEOUT_S = 10
STOP_TIMEOUT_S = 5


class SimulatorError(Exception):
    pass


class SimulatorProcess:
    def __init__(self, exe, args=()):
        """Starts the simulator and waits for the pseudo-terminal it prints on its first line."""
        self.proc = subprocess.Popen([exe, *args], stdin=subprocess.DEVNULL,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        ready, _, _ = select.select([self.proc.stdout], [], [], START_TIMEOUT_S)
        line = self.proc.stdout.readline().decode().strip() if ready else ""
        if not line.startswith("/"):
            self._end()
            raise SimulatorError(f"no device path on the first line (got {line!r})")
        self.device = line

    def stop(self):
        """Ends the simulator; raises when it needed SIGKILL or ended with a failure."""
        if self.proc.poll() is None and not self._end():
            raise SimulatorError("did not end on SIGTERM")
        if self.proc.returncode != 0:
            err = self.proc.stderr.read().decode(errors="replace")
            raise SimulatorError(f"ended with {self.proc.returncode}: {err}")

    def _end(self):
        """SIGTERM, then SIGKILL; False when SIGTERM was not enough."""
        if self.proc.poll() is not None:
            return True
        self.proc.terminate()
        try:
            self.proc.wait(STOP_TIMEOUT_S)
            return True
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
            return False
