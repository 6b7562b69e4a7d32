#!/usr/bin/env python3
"""The Kubernetes files of deploy/kubernetes, read with a YAML parser (no
cluster here): the documents parse, the indexed job has one shard per
completion, its settings come from the ConfigMap's ZELK.conf, and the
program directory zelk-batch writes its Logs into is on the shared volume.
The pod's shell command runs for real, with the mount points moved into a
temporary directory and a stand-in zelk-batch.

    kubernetes_job_test.py DEPLOY_KUBERNETES_DIR
"""

import configparser
import os
import re
import shlex
import subprocess
import sys
import tempfile
import unittest

try:
    import yaml
except ImportError:
    sys.exit("python3-yaml is missing: scripts/install-deps.sh installs it")

DEPLOY_DIR = sys.argv.pop(1) if len(sys.argv) > 1 else "deploy/kubernetes"


def documents(name):
    with open(os.path.join(DEPLOY_DIR, name), encoding="utf-8") as stream:
        return [document for document in yaml.safe_load_all(stream) if document is not None]


def one_of_kind(docs, kind):
    found = [document for document in docs if document.get("kind") == kind]
    assert len(found) == 1, f"{len(found)} documents of kind {kind}"
    return found[0]


def mount_of(pod, container, kind):
    """The mount of the container whose volume is of `kind` (a key of the
    volume entry: configMap, persistentVolumeClaim) and that volume."""
    volumes = {volume["name"]: volume for volume in pod["volumes"]}
    found = [(mount, volumes[mount["name"]]) for mount in container["volumeMounts"]
             if kind in volumes[mount["name"]]]
    assert len(found) == 1, f"{len(found)} mounts of a {kind} volume"
    return found[0]


def under(path, directory):
    return os.path.normpath(path).startswith(os.path.normpath(directory) + "/")


class IndexedJobTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.docs = documents("zelk-indexed-job.yaml")
        cls.claim = one_of_kind(cls.docs, "PersistentVolumeClaim")
        cls.config = one_of_kind(cls.docs, "ConfigMap")
        cls.job = one_of_kind(cls.docs, "Job")
        cls.pod = cls.job["spec"]["template"]["spec"]
        (cls.container,) = cls.pod["containers"]
        cls.script = cls.container["args"][0]
        cls.settings_mount, cls.settings_volume = mount_of(cls.pod, cls.container, "configMap")
        cls.data_mount, cls.data_volume = mount_of(cls.pod, cls.container, "persistentVolumeClaim")

    def test_every_document_names_its_kind_and_itself(self):
        self.assertEqual(len(self.docs), 3)
        for document in self.docs:
            self.assertIn("apiVersion", document)
            self.assertTrue(document["metadata"]["name"])
        self.assertEqual(self.job["apiVersion"], "batch/v1")

    def test_one_shard_per_completion(self):
        spec = self.job["spec"]
        self.assertEqual(spec["completionMode"], "Indexed")
        completions = spec["completions"]
        self.assertIsInstance(completions, int)
        self.assertGreater(completions, 1)
        self.assertTrue(1 <= spec["parallelism"] <= completions)
        calls = [line for line in self.script.splitlines() if line.strip().startswith("zelk-batch")]
        self.assertEqual(len(calls), 1, self.script)
        words = shlex.split(calls[0])
        self.assertEqual(words[words.index("--shards") + 1], str(completions))
        self.assertNotIn("--shard", words, "the index comes from JOB_COMPLETION_INDEX")

    def test_failure_policy_and_cores_name_the_container(self):
        spec = self.job["spec"]
        # A pod failure policy needs pods that are not restarted in place.
        self.assertEqual(self.pod["restartPolicy"], "Never")
        for rule in spec["podFailurePolicy"]["rules"]:
            if "onExitCodes" in rule:
                self.assertEqual(rule["onExitCodes"]["containerName"], self.container["name"])
        (cores,) = [variable for variable in self.container["env"]
                    if variable["name"] == "SLURM_CPUS_PER_TASK"]
        field = cores["valueFrom"]["resourceFieldRef"]
        self.assertEqual(field["containerName"], self.container["name"])
        self.assertEqual(field["resource"], "limits.cpu")
        self.assertIn("cpu", self.container["resources"]["limits"])

    def test_settings_come_from_the_config_map_and_the_volume_is_shared(self):
        self.assertEqual(self.settings_volume["configMap"]["name"], self.config["metadata"]["name"])
        self.assertEqual(list(self.config["data"]), ["ZELK.conf"])
        self.assertTrue(self.settings_mount.get("readOnly"))
        self.assertEqual(self.data_volume["persistentVolumeClaim"]["claimName"],
                         self.claim["metadata"]["name"])
        self.assertIn("ReadWriteMany", self.claim["spec"]["accessModes"])
        self.assertFalse(self.data_mount.get("readOnly", False))

        settings = configparser.ConfigParser(interpolation=None)
        settings.optionxform = str
        settings.read_string(self.config["data"]["ZELK.conf"])
        common = settings["Common"]
        self.assertIn(common["ConvertAction"], [str(action) for action in range(1, 7)])
        for key in ("ImageSrcDir", "ConvertDstDir"):
            self.assertTrue(under(common[key], self.data_mount["mountPath"]), key)

    def run_pod_command(self, exit_status):
        """Runs the container's shell command with the mount points moved
        into a temporary directory and zelk-batch a stand-in that records
        its arguments and the settings it was given, writes Logs beside
        them and exits with `exit_status`.  What it recorded, how the
        command finished and the temporary directory."""
        root = tempfile.mkdtemp()
        settings_dir = root + "/settings"
        data_dir = root + "/data"
        os.makedirs(settings_dir)
        os.makedirs(data_dir)
        with open(os.path.join(settings_dir, "ZELK.conf"), "w", encoding="utf-8") as conf:
            conf.write(self.config["data"]["ZELK.conf"])
        tools = root + "/tools"
        os.makedirs(tools)
        record = root + "/record"
        with open(os.path.join(tools, "zelk-batch"), "w", encoding="utf-8") as program:
            program.write(f"""#!/bin/sh
conf=$1
{{ echo "args $*"; echo "index $JOB_COMPLETION_INDEX"; cat "$conf"; }} > {shlex.quote(record)}
mkdir "$(dirname "$conf")/Logs" || exit 99
exit {exit_status}
""")
        os.chmod(os.path.join(tools, "zelk-batch"), 0o755)
        script = self.script.replace(self.settings_mount["mountPath"], settings_dir)
        script = script.replace(self.data_mount["mountPath"], data_dir)
        environment = dict(os.environ, PATH=tools + ":" + os.environ["PATH"],
                           JOB_COMPLETION_INDEX="5")
        finished = subprocess.run(self.container["command"] + [script], env=environment, check=False,
                                  capture_output=True, text=True)
        recorded = ""
        if os.path.exists(record):
            with open(record, encoding="utf-8") as stream:
                recorded = stream.read()
        return recorded, finished, root

    def test_the_pod_runs_on_a_copy_of_the_settings_on_the_shared_volume(self):
        recorded, finished, root = self.run_pod_command(0)
        self.addCleanup(subprocess.run, ["rm", "-rf", root], check=False)
        self.assertEqual(finished.returncode, 0, finished.stderr)
        args = recorded.splitlines()[0].split()
        conf = args[1]
        self.assertTrue(under(conf, root + "/data"), f"settings not on the shared volume: {conf}")
        self.assertEqual(os.path.basename(conf), "ZELK.conf")
        self.assertIn(self.config["data"]["ZELK.conf"], recorded)
        self.assertIn("index 5", recorded)
        # Logs went beside the copy, no temporary copy stayed, and the
        # ConfigMap's read-only directory was left as it was.
        program_dir = os.path.dirname(conf)
        self.assertEqual(sorted(os.listdir(program_dir)), ["Logs", "ZELK.conf"])
        self.assertEqual(os.listdir(root + "/settings"), ["ZELK.conf"])

    def test_failed_items_end_the_pod_well_and_other_failures_do_not(self):
        # Exit status 1 (items failed) is the summary's to report; 2 and 3
        # must reach Kubernetes (fail the job, retry the shard).
        for status, expected in ((1, 0), (2, 2), (3, 3)):
            recorded, finished, root = self.run_pod_command(status)
            subprocess.run(["rm", "-rf", root], check=False)
            self.assertTrue(recorded, finished.stderr)
            self.assertEqual(finished.returncode, expected, f"zelk-batch exit status {status}")


class SummaryJobTest(unittest.TestCase):
    def test_the_summary_reads_the_program_directory_the_shards_wrote(self):
        convert_docs = documents("zelk-indexed-job.yaml")
        convert = one_of_kind(convert_docs, "Job")
        claim = one_of_kind(convert_docs, "PersistentVolumeClaim")
        (summary,) = documents("zelk-summary-job.yaml")
        self.assertEqual(summary["kind"], "Job")
        pod = summary["spec"]["template"]["spec"]
        (container,) = pod["containers"]
        mount, volume = mount_of(pod, container, "persistentVolumeClaim")
        self.assertEqual(volume["persistentVolumeClaim"]["claimName"], claim["metadata"]["name"])

        convert_pod = convert["spec"]["template"]["spec"]
        (convert_container,) = convert_pod["containers"]
        convert_mount, _ = mount_of(convert_pod, convert_container, "persistentVolumeClaim")
        self.assertEqual(mount["mountPath"], convert_mount["mountPath"])
        shard_call = re.search(r"^\s*zelk-batch (\S+)", convert_container["args"][0], re.M)
        self.assertEqual(container["command"], ["zelk-batch", "--summary", shard_call.group(1)])
        self.assertEqual(container["image"], convert_container["image"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
