"""What the script-style e2e tests share: running torvane-cli and failing with a reason."""
import subprocess
import sys


def run(cli, args, rc=0, env=None, timeout=30):
    """torvane-cli ARGS in `env`; ends the test when the exit code is not `rc`."""
    r = subprocess.run([cli] + args, capture_output=True, timeout=timeout, env=env)
    if r.returncode != rc:
        sys.exit(f"torvane-cli {args}: exit {r.returncode}, expected {rc}\n{r.stdout!r}\n{r.stderr!r}")
    return r


def check(ok, what):
    if not ok:
        sys.exit("FAILED: " + what)
