// Starts the Debian chromium headless with a fresh profile and connects playwright-core to it
// over the DevTools protocol; the test ends the browser itself, by its process id.
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";

const kChromium = process.env.MORVIT_CHROMIUM || "/usr/bin/chromium";

export async function StartBrowser() {
  const profile = mkdtempSync(join(tmpdir(), "morvit-view-profile-"));
  const child = spawn(kChromium, [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--allow-file-access-from-files", `--user-data-dir=${profile}`, "--remote-debugging-port=0",
    "about:blank",
  ], { detached: true, stdio: ["ignore", "ignore", "pipe"] });
  const endpoint = await new Promise((resolve, reject) => {
    let seen = "";
    const timer = setTimeout(() => reject(new Error("chromium did not start: " + seen)), 30000);
    child.stderr.on("data", (data) => {
      seen += data;
      const found = /DevTools listening on (ws:\/\/\S+)/.exec(seen);
      if (found) { clearTimeout(timer); resolve(found[1]); }
    });
    child.on("exit", (code) => { clearTimeout(timer); reject(new Error("chromium exited " + code + ": " + seen)); });
  });
  const browser = await chromium.connectOverCDP(endpoint);
  const stop = async () => {
    await browser.close().catch(() => {});
    // The browser's own process group: its helper processes end with it.
    try { process.kill(-child.pid, "SIGTERM"); } catch {}
    await new Promise((resolve) => (child.exitCode !== null ? resolve() : child.once("exit", resolve)));
    rmSync(profile, { recursive: true, force: true });
  };
  return { browser, stop };
}
