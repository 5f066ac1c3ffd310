// The official TypeScript SDK client doing the same tools/call round trips as mcp_bench:
// node mcp_sdk_client.mjs <sdk folder> <server script> <calls>
// Prints {"ms": <time of the calls alone>} once they are done.
import { pathToFileURL } from "node:url";

const [sdkDir, serverScript, countText] = process.argv.slice(2);
const { Client } = await import(pathToFileURL(`${sdkDir}/dist/esm/client/index.js`).href);
const { StdioClientTransport } = await import(pathToFileURL(`${sdkDir}/dist/esm/client/stdio.js`).href);

const transport = new StdioClientTransport({ command: "node", args: [serverScript], stderr: "ignore" });
const client = new Client({ name: "bench", version: "1.0" });
await client.connect(transport);
const calls = Number(countText);
const start = performance.now();
for (let i = 0; i < calls; i++) {
  const result = await client.callTool({ name: "echo", arguments: { message: `mensagem ${i}` } });
  if (result.content[0].text !== `Echo: mensagem ${i}`) throw new Error("wrong echo");
}
const ms = performance.now() - start;
console.log(JSON.stringify({ ms }));
await client.close();
